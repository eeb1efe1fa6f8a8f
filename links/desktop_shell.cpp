#include "desktop_shell.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <utility>

#include "win32_platform.h"

namespace stlag {
namespace {

// COM for as long as it lives; a thread that already has COM in another mode keeps it.
class ComScope {
public:
    ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope()
    {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }

private:
    HRESULT result_;
};

template <class T> class ComRef {
public:
    ComRef() = default;
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef& operator=(ComRef&&) = delete;
    ~ComRef()
    {
        if (object_ != nullptr)
            object_->Release();
    }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    T** Put() { return &object_; }

private:
    T* object_ = nullptr;
};

class BString {
public:
    explicit BString(const std::wstring& text)
        : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    BString(const BString&) = delete;
    BString& operator=(const BString&) = delete;
    ~BString() { ::SysFreeString(value_); }
    BSTR Get() const { return value_; }

private:
    BSTR value_;
};

VARIANT Variant(VARTYPE type)
{
    VARIANT variant;
    ::VariantInit(&variant);
    variant.vt = type;
    return variant;
}

// The desktop's view window in the shell's list, then its view's Shell object.
ComRef<IShellDispatch2> DesktopShellDispatch()
{
    ComRef<IShellDispatch2> shell;
    ComRef<IShellWindows> windows;
    if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(windows.Put()))))
        return shell;
    VARIANT desktop = Variant(VT_I4);
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT none = Variant(VT_EMPTY);
    LONG window = 0;
    ComRef<IDispatch> found;
    // S_FALSE: no such window.
    if (windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.Put()) != S_OK ||
        !found)
        return shell;
    ComRef<IServiceProvider> provider;
    ComRef<IShellBrowser> browser;
    ComRef<IShellView> view;
    ComRef<IDispatch> background, application;
    ComRef<IShellFolderViewDual> folderView;
    if (SUCCEEDED(found->QueryInterface(IID_PPV_ARGS(provider.Put()))) &&
        SUCCEEDED(provider->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(browser.Put()))) &&
        SUCCEEDED(browser->QueryActiveShellView(view.Put())) &&
        SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(background.Put()))) &&
        SUCCEEDED(background->QueryInterface(IID_PPV_ARGS(folderView.Put()))) &&
        SUCCEEDED(folderView->get_Application(application.Put())) && application)
        application->QueryInterface(IID_PPV_ARGS(shell.Put()));
    return shell;
}

}  // namespace

bool OpenFromDesktop(const std::wstring& target, int show)
{
    const ComScope com;  // outlives every reference below
    const ComRef<IShellDispatch2> shell = DesktopShellDispatch();
    const BString file(target), verb(L"open");
    if (!shell || file.Get() == nullptr || verb.Get() == nullptr)
        return false;
    VARIANT operation = Variant(VT_BSTR);
    operation.bstrVal = verb.Get();
    VARIANT showCommand = Variant(VT_I4);
    showCommand.lVal = show;
    const VARIANT none = Variant(VT_EMPTY);
    // A refusal comes back as S_FALSE, which SUCCEEDED would count as a success.
    return shell->ShellExecute(file.Get(), none, none, operation, showCommand) == S_OK;
}

bool DesktopShellAnswers()
{
    const ComScope com;
    return static_cast<bool>(DesktopShellDispatch());
}

}  // namespace stlag
