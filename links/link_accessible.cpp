#include "link_accessible.h"

#include <oleacc.h>

#include <new>
#include <string>

#include "hyper_link.h"
#include "resource.h"
#include "texts.h"
#include "win32_platform.h"

namespace stlag {
namespace {

HRESULT Clear(BSTR* text)
{
    if (text == nullptr)
        return E_POINTER;
    *text = nullptr;
    return S_OK;
}

HRESULT Clear(VARIANT* value)
{
    if (value == nullptr)
        return E_POINTER;
    ::VariantInit(value);
    return S_OK;
}

HRESULT Text(const std::wstring& text, BSTR* out)
{
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// Role, name, value, state and default action are the link's own; every other question goes
// to the system's object. Called on the control's thread: COM brings other apartments' calls there.
class LinkAccessible final : public IAccessible {
public:
    // Null when the system's object cannot be made. Holds one reference.
    static LinkAccessible* Create(const CHyperLink& link)
    {
        IAccessible* system = nullptr;
        if (FAILED(::CreateStdAccessibleObject(link.GetHWND(), OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&system))))
            return nullptr;
        auto* object = new (std::nothrow) LinkAccessible(link, system);
        if (object == nullptr)
            system->Release();
        return object;
    }
    void Disconnect() { link_ = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != __uuidof(IAccessible))
            return E_NOINTERFACE;
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call IAccessible's methods directly, and the system's type
    // information would describe the system's answers, not these.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info != nullptr)
            *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    STDMETHODIMP get_accName(VARIANT child, BSTR* name) noexcept override
    {
        const HRESULT asked = Ask(child, name);
        return asked != S_OK ? asked : Text(link_->GetWideText(), name);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) noexcept override
    {
        const HRESULT asked = Ask(child, value);
        return asked != S_OK ? asked : Text(AnsiToWide(link_->Target()), value);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) noexcept override
    {
        const HRESULT asked = Ask(child, action);
        return asked != S_OK ? asked : Text(LoadWideText(IDS_LINK_OPEN), action);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override
    {
        const HRESULT asked = Ask(child, role);
        if (asked == S_OK) {
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_LINK;
        }
        return asked;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override
    {
        const HRESULT asked = Ask(child, state);
        const HRESULT system = asked != S_OK ? asked : system_->get_accState(child, state);
        if (system == S_OK && state->vt == VT_I4)
            state->lVal |= STATE_SYSTEM_LINKED | (link_->Visited() ? STATE_SYSTEM_TRAVERSED : 0);
        return system;
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override
    {
        const HRESULT asked = Self(child);
        if (asked != S_OK)
            return asked;
        return ::PostMessageW(link_->GetHWND(), kFollowLinkMessage, 0, 0) ? S_OK : E_FAIL;
    }

    STDMETHODIMP get_accParent(IDispatch** parent) override { return system_->get_accParent(parent); }
    STDMETHODIMP get_accChildCount(long* count) override { return system_->get_accChildCount(count); }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override
    {
        return system_->get_accChild(child, object);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override
    {
        return system_->get_accDescription(child, text);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* text) override { return system_->get_accHelp(child, text); }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return system_->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* text) override
    {
        return system_->get_accKeyboardShortcut(child, text);
    }
    STDMETHODIMP get_accFocus(VARIANT* focus) override { return system_->get_accFocus(focus); }
    STDMETHODIMP get_accSelection(VARIANT* selection) override { return system_->get_accSelection(selection); }
    STDMETHODIMP accSelect(long flags, VARIANT child) override { return system_->accSelect(flags, child); }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return system_->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return system_->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override { return system_->accHitTest(x, y, child); }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return system_->put_accName(child, name); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override { return system_->put_accValue(child, value); }

private:
    LinkAccessible(const CHyperLink& link, IAccessible* system) : link_(&link), system_(system) {}
    ~LinkAccessible() { system_->Release(); }

    // S_OK when the question is about the link itself (it has no children) and its control is there.
    HRESULT Self(const VARIANT& child) const
    {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF)
            return E_INVALIDARG;
        return link_ != nullptr ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    // The same, with the answer's place emptied first.
    template <class Out> HRESULT Ask(const VARIANT& child, Out* out) const
    {
        const HRESULT cleared = Clear(out);
        return cleared != S_OK ? cleared : Self(child);
    }

    LONG references_ = 1;
    const CHyperLink* link_;
    IAccessible* system_;
};

LRESULT LinkAccessibility::Answer(const CHyperLink& link, WPARAM flags)
{
    if (object_ == nullptr) {
        comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        object_ = LinkAccessible::Create(link);
        if (object_ == nullptr) {
            Disconnect();
            return 0;
        }
    }
    return ::LresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(object_));
}

void LinkAccessibility::Disconnect()
{
    if (object_ != nullptr) {
        object_->Disconnect();
        // Clients in other apartments are let go now; the object goes with the last reference.
        ::CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
        object_->Release();
        object_ = nullptr;
    }
    if (comStarted_)
        ::CoUninitialize();
    comStarted_ = false;
}

LRESULT CHyperLink::OnGetObject(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The object's number is in the low 32 bits, whatever the high ones hold.
    if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT))
        if (const LRESULT answer = accessibility_.Answer(*this, wParam))
            return answer;
    return Default(message, wParam, lParam);
}

}  // namespace stlag
