// The thin window layer on its own: the dialog procedure's dispatch, data exchange, the
// reflected colour query, and the property sheet's page handlers and their results.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "dialog.h"
#include "property_page.h"
#include "property_sheet.h"
#include "resource.h"

namespace stlag {
namespace {

constexpr UINT kTestDialog = 200, kPageA = 201, kPageB = 202;
constexpr int kLinkStatic = 300, kPlainStatic = 301, kEdit = 302, kCheck = 303;

// A static that answers the reflected colour query, as the hyperlink control does.
LRESULT CALLBACK AnsweringStatic(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR brush)
{
    if (message == kReflectedCtlColorStatic)
        return static_cast<LRESULT>(brush);
    return DefSubclassProc(window, message, wParam, lParam);
}

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(kTestDialog) {}
    std::string text = "von Hj\xE4lp";  // ANSI, as the program's texts are
    int checked = 1;
    bool userDataIsThis = false;
    LRESULT linkAnswer = 0, plainAnswer = 0, plainOwnAnswer = -1, defaultAnswer = 0;
    std::string readBack;
    int readBackCheck = -1;
    int commands = 0;

protected:
    void DoDataExchange(bool save) override
    {
        DdxText(save, kEdit, text);
        DdxCheck(save, kCheck, checked);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();  // writes the members into the controls
        userDataIsThis = GetWindowLongPtrA(window_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this);
        const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        SetWindowSubclass(GetDlgItem(kLinkStatic), AnsweringStatic, 1, reinterpret_cast<DWORD_PTR>(brush));
        HDC dc = GetDC(window_);
        linkAnswer = SendMsg(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(GetDlgItem(kLinkStatic)));
        plainAnswer = SendMsg(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(GetDlgItem(kPlainStatic)));
        plainOwnAnswer = ::SendMessageA(GetDlgItem(kPlainStatic), kReflectedCtlColorStatic, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(GetDlgItem(kPlainStatic)));
        defaultAnswer = ::DefWindowProcA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(GetDlgItem(kPlainStatic)));
        ReleaseDC(window_, dc);
        RemoveWindowSubclass(GetDlgItem(kLinkStatic), AnsweringStatic, 1);

        char shown[64] = {};
        GetDlgItemTextA(window_, kEdit, shown, sizeof shown);
        readBack = shown;
        readBackCheck = IsDlgButtonChecked(window_, kCheck);
        SetDlgItemTextA(window_, kEdit, "typed");
        CheckDlgButton(window_, kCheck, BST_UNCHECKED);
        UpdateData(true);

        PostMsg(WM_COMMAND, MAKEWPARAM(kCheck, BN_CLICKED), 0);
        PostMsg(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }
    bool OnCommand(WORD notifyCode, WORD id, HWND control) override
    {
        if (id == kCheck && notifyCode == BN_CLICKED) {
            ++commands;
            return true;
        }
        return CDialog::OnCommand(notifyCode, id, control);
    }
};

TEST(WindowLayer, DialogDispatchDataExchangeAndReflection)
{
    TestDialog dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(dialog.userDataIsThis);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH)), dialog.linkAnswer) << "the child decides";
    // A child that does not answer leaves the colours to the dialog manager's default.
    EXPECT_EQ(0, dialog.plainOwnAnswer);
    EXPECT_EQ(dialog.defaultAnswer, dialog.plainAnswer);
    EXPECT_NE(dialog.linkAnswer, dialog.plainAnswer);
    EXPECT_EQ("von Hj\xE4lp", dialog.readBack);
    EXPECT_EQ(BST_CHECKED, dialog.readBackCheck);
    EXPECT_EQ("typed", dialog.text);
    EXPECT_EQ(0, dialog.checked);
    EXPECT_EQ(1, dialog.commands);
    EXPECT_EQ(nullptr, dialog.GetHWND()) << "detached when the window is gone";
}

struct Journal {
    std::string events;
};

class PageA : public CPropertyPage {
public:
    explicit PageA(Journal& journal) : CPropertyPage(kPageA), journal_(journal) {}

protected:
    LRESULT OnSetActive() override
    {
        journal_.events += "A+";
        ::PostMessageA(GetSheet(), PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
        ::PostMessageA(GetSheet(), PSM_PRESSBUTTON, PSBTN_NEXT, 0);
        return CPropertyPage::OnSetActive();
    }
    LRESULT OnWizardNext() override
    {
        // The first Next is refused; the page asks again.
        journal_.events += "A>";
        if (++nexts_ == 1) {
            ::PostMessageA(GetSheet(), PSM_PRESSBUTTON, PSBTN_NEXT, 0);
            return -1;
        }
        return CPropertyPage::OnWizardNext();
    }

private:
    Journal& journal_;
    int nexts_ = 0;
};

class PageB : public CPropertyPage {
public:
    explicit PageB(Journal& journal) : CPropertyPage(kPageB), journal_(journal) {}

protected:
    LRESULT OnSetActive() override
    {
        journal_.events += "B+";
        if (CPropertySheet::FromHandle(GetSheet()) != nullptr)
            journal_.events += "sheet";
        ::PostMessageA(GetSheet(), PSM_PRESSBUTTON, PSBTN_FINISH, 0);
        return CPropertyPage::OnSetActive();
    }

private:
    Journal& journal_;
};

class TestSheet : public CPropertySheet {
public:
    explicit TestSheet(Journal& journal) : CPropertySheet(IDS_APP_TITLE, nullptr, 0), journal_(journal) {}

protected:
    BOOL OnInitDialog() override
    {
        journal_.events += GetHWND() != nullptr && FromHandle(GetHWND()) == this ? "init:" : "init?:";
        return CPropertySheet::OnInitDialog();
    }

private:
    Journal& journal_;
};

TEST(WindowLayer, WizardNextMinusOneKeepsThePageAndZeroMovesOn)
{
    Journal journal;
    PageA a(journal);
    PageB b(journal);
    TestSheet sheet(journal);
    sheet.AddPage(a);
    sheet.AddPage(b);
    sheet.Flags() |= PSH_WIZARD | PSH_NOAPPLYNOW;
    sheet.DoModal();
    EXPECT_EQ("init:A+A>A>B+sheet", journal.events);
    EXPECT_EQ(nullptr, sheet.GetHWND());
}

}  // namespace
}  // namespace stlag
