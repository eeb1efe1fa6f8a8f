// A dialog whose window procedure is a member: the one static procedure finds the object
// in GWLP_USERDATA and hands each message to a virtual handler.
#ifndef STLAG_DIALOG_H
#define STLAG_DIALOG_H

#include <windows.h>

#include <string>

#include "window.h"

namespace stlag {

// Sent to a static control when its parent is asked for the control's colours; a control
// that answers with a brush decides them (ATL's OCM_CTLCOLORSTATIC).
constexpr UINT kReflectedCtlColorStatic = WM_USER + 0x1C00 + WM_CTLCOLORSTATIC;

class CDialog : public CWindow {
public:
    // A null parent: the active window's top-level window owns the dialog, so one opened
    // from a handler stays over its wizard.
    explicit CDialog(UINT templateId, HWND parent = nullptr) : templateId_(templateId), parent_(parent) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    // Runs the dialog from the program's own template, as a Unicode window, so that a control
    // can hold text in any script; texts set in the ANSI code page are converted by the system.
    INT_PTR DoModal();
    bool EndDialog(INT_PTR result) const { return ::EndDialog(window_, result) != 0; }

    // save true: controls into members; false: members into controls.
    void UpdateData(bool save) { DoDataExchange(save); }

    UINT TemplateId() const { return templateId_; }

    bool SetItemText(int id, const std::string& text) const { return ::SetDlgItemTextA(window_, id, text.c_str()) != 0; }
    void ShowItem(int id, bool show) const { ::ShowWindow(GetDlgItem(id), show ? SW_SHOWNORMAL : SW_HIDE); }
    void EnableItem(int id, bool enable) const { ::EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE); }
    // The focus on that control, its text selected as the dialog manager does on Tab.
    void FocusItem(int id) const { ::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(id)), TRUE); }

    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

protected:
    // TRUE: the dialog manager puts the focus on the first tab stop; FALSE: it is left alone.
    virtual BOOL OnInitDialog()
    {
        UpdateData(false);
        return TRUE;
    }
    // true: the command was handled. The base ends a modal dialog on OK and Cancel.
    virtual bool OnCommand(WORD notifyCode, WORD id, HWND control);
    // true: handled, and result is the message's answer.
    virtual bool OnNotify(int id, NMHDR* header, LRESULT& result);
    // true: the handler painted (began and ended painting).
    virtual bool OnPaint() { return false; }
    // WM_HELP (F1). true: handled here; false: the system hands it on to the parent or owner.
    virtual bool OnHelpInfo(HELPINFO* /*info*/) { return false; }
    virtual void DoDataExchange(bool /*save*/) {}
    // The system has scaled the dialog to a new DPI (it moved to a monitor of another scaling):
    // what counts pixels follows. For a top-level dialog once it stands in the suggested rectangle.
    virtual void OnDpiChanged(UINT /*dpi*/) {}

    void DdxControl(int id, CWindow& control) const { control.Attach(GetDlgItem(id)); }
    void DdxCheck(bool save, int id, bool& value) const;
    void DdxWideText(bool save, int id, std::wstring& value) const;

private:
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // Sees the DPI messages after the dialog manager, which rescales fonts and controls on them.
    static LRESULT CALLBACK DpiSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR object) noexcept;
    void ForwardToControls(UINT message, WPARAM wParam, LPARAM lParam) const;
    UINT templateId_;
    HWND parent_;
};

}  // namespace stlag

#endif
