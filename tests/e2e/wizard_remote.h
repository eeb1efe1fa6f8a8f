// startlagaren.exe as the test drives it from another process: started, found by its
// caption, worked through window messages, photographed.
#ifndef STLAG_WIZARD_REMOTE_H
#define STLAG_WIZARD_REMOTE_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace stlag {

// The sheet's own buttons (comctl32's control ids).
constexpr int kBackButton = 0x3023;
constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;

// Polls until ready() or the time is up.
bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs = 15000);

std::string WindowText(HWND window);
// A file's bytes, also while another program still has it open for writing; empty when missing.
std::string ReadFileText(const std::string& path);
// Texts of the child windows of a class ("Static", "Button"...), in z-order.
std::vector<std::string> ChildTexts(HWND parent, const char* className);

class WizardProcess {
public:
    WizardProcess() = default;
    WizardProcess(const WizardProcess&) = delete;
    WizardProcess& operator=(const WizardProcess&) = delete;
    ~WizardProcess();  // ends the process if a test left it running

    // Starts the program and waits for the sheet, a top-level dialog whose caption begins
    // with "Startlagaren".
    bool Start(const std::string& exePath);
    bool WaitForExit(DWORD timeoutMs = 15000);
    DWORD ExitCode() const;

    HWND Sheet() const { return sheet_; }
    HWND CurrentPage() const;
    // The current page's control, or null when the page has no such control.
    HWND PageItem(int id) const { return ::GetDlgItem(CurrentPage(), id); }
    // The sheet's own buttons: Back, Next, Finish, Cancel, Help.
    HWND SheetButton(int id) const { return ::GetDlgItem(sheet_, id); }
    // Queued, so a button that opens a modal window does not hold the test.
    void PressButton(int psbtn) const { ::PostMessageA(sheet_, PSM_PRESSBUTTON, static_cast<WPARAM>(psbtn), 0); }

    // A visible top-level dialog of the process other than the sheet, whose caption is
    // caption (any caption when empty); null when there is none.
    HWND FindDialog(const std::string& caption) const;
    // The page windows the sheet has created so far.
    std::vector<HWND> CreatedPages() const;

    // List view of the process: count, tick, texts, through memory in the wizard's process.
    int ListCount(HWND list) const;
    bool ListChecked(HWND list, int row) const;
    bool SetListChecked(HWND list, int row, bool checked) const;
    std::string ListText(HWND list, int row, int column) const;

    // Saves the screen area of the process's visible windows as directory\name.png.
    bool Screenshot(const std::string& directory, const std::string& name) const;

private:
    std::vector<HWND> TopLevelWindows() const;

    PROCESS_INFORMATION process_ = {};
    HWND sheet_ = nullptr;
};

// Whole-screen area of rect as a PNG file.
bool SaveScreenArea(const RECT& rect, const std::string& path);

}  // namespace stlag

#endif
