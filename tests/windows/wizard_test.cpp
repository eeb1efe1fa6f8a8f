// The wizard in this process: the real sheet runs on a worker thread as in the program,
// the test thread works it through window messages, then reads the state it left, Wine's
// registry and the files.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "backup_file_chooser.h"
#include "desktop_shell.h"
#include "dpi.h"
#include "hyper_link.h"
#include "readme_opener.h"
#include "resource.h"
#include "test_helpers.h"
#include "text_format.h"
#include "texts.h"
#include "win32_platform.h"
#include "wizard_sheet.h"

using namespace stlag;
namespace fs = std::filesystem;

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
// Wine's desktop is a link; the test's fixture points it at STLAG_TEST_DESKTOP under build/.
const std::string kDesktop = GetSpecialFolderPath(CSIDL_DESKTOP);
const std::string kTool = "C:\\Program Files\\Internet Explorer\\iexplore.exe";  // Wine's, a blank in its path
const std::string kToolLine = kTool + " /a", kQuotedToolLine = '"' + kTool + "\" /a";
const Finding kToolFinding{"Verktyg", kToolLine, kQuotedToolLine, RunSubKey("Run"), RegistryRoot::CurrentUser};
const char kGoneLine[] = "C:\\Program Files\\Stlag Borta\\q.exe";
const std::string kLaunchLog = LINK_RECORDER_EXE ".log";
// comctl32's own ids in every wizard, and the static text of a message box.
constexpr int kNextButton = 0x3024, kFinishButton = 0x3025, kMessageBoxText = 0xFFFF;

// Ten seconds at most.
template <class Done> bool WaitFor(Done done)
{
    for (int i = 0; i < 500; ++i, Sleep(20))
        if (done()) return true;
    return false;
}

std::string ReadFile(const std::string& path) { return {std::istreambuf_iterator<char>(std::ifstream(path).rdbuf()), {}}; }

std::string Lower(std::string text) { return CharLowerA(&text[0]), text; }
std::string Text(HWND window, int id) { return CWindow(GetDlgItem(window, id)).GetText(); }
int Launches() { return std::count(std::istreambuf_iterator<char>(std::ifstream(kLaunchLog).rdbuf()), {}, '\n'); }

void SetRegText(HKEY root, const std::string& key, const char* name, const std::string& data)
{
    RegSetKeyValueA(root, key.c_str(), name, REG_SZ, data.c_str(), static_cast<DWORD>(data.size() + 1));
}

// Web pages, text files and mail addresses open in the link recorder, whose log starts empty.
void RecordLaunches()
{
    const char command[] = "\"" LINK_RECORDER_EXE "\" \"%1\"";
    SetRegText(HKEY_CLASSES_ROOT, "StlagTest\\shell\\open\\command", nullptr, command);
    SetRegText(HKEY_CLASSES_ROOT, "mailto\\shell\\open\\command", nullptr, command);
    for (const char* type : {".htm", ".txt"})
        SetRegText(HKEY_CLASSES_ROOT, type, nullptr, "StlagTest");
    fs::remove(kLaunchLog);
}

std::string RunValue(HKEY root, const char* name, const char* key = kRunKey)  // empty when the value is gone
{
    char data[512];
    DWORD size = sizeof data;
    return RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, data, &size) == ERROR_SUCCESS ? data : "";
}

// What the box's control shows, read before the box is closed with command. Posted, as is
// every click: a handler may run a modal box, which would hold a sent message.
std::string Dismiss(HWND box, int control = kMessageBoxText, int command = IDCANCEL)
{
    const std::string text = Text(box, control);
    PostMessageA(box, WM_COMMAND, command, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    return text;
}

// The real sheet on a thread of its own, as RunWizard runs it.
struct Wizard {
    LiveEngine engine;
    WizardState state;
    std::atomic<DWORD> threadId{0};
    std::atomic<bool> done{false};
    std::thread worker{[this] {
        threadId = GetCurrentThreadId();
        InitCommonControls();
        CWizardSheet(state, engine).DoModal();
        done = true;
    }};
    HWND sheet = Dialog();

    // Cancels whatever is still open, topmost first, until the sheet has returned. One that
    // does not close ends the run: its thread would go on using this object.
    ~Wizard()
    {
        if (!WaitFor([&] { return done || (PostMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0), false); })) {
            ADD_FAILURE() << "the wizard does not close";
            ExitProcess(1);
        }
        worker.join();
    }
    // The topmost shown dialog of the wizard's thread other than except: the sheet, or a box over it.
    HWND Dialog(HWND except = nullptr) const
    {
        HWND found = nullptr;
        WaitFor([&] {
            for (found = nullptr; (found = FindWindowExA(nullptr, found, "#32770", nullptr)) != nullptr;)
                if (found != except && IsWindowVisible(found) && GetWindowThreadProcessId(found, nullptr) == threadId)
                    return true;
            return done.load();
        });
        return found;
    }
    HWND Box() const { return Dialog(sheet); }
    // Waits for the control with this id to hold the wizard thread's focus.
    // Without a window manager, Wine's X11 driver may give the foreground to the desktop when a
    // box over the sheet closes; the sheet is then activated as a user's click would, and the
    // dialog manager gives the focus back to the control that held it.
    bool Focused(int id) const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return WaitFor([&] {
            if (GetGUIThreadInfo(threadId, &info) && info.hwndActive == nullptr)
                SetForegroundWindow(sheet);
            return GetDlgCtrlID(info.hwndFocus) == id;
        });
    }
    HWND Page() const { return PropSheet_GetCurrentPageHwnd(sheet); }
    // The finish page's text as the user reads it.
    std::string Shown() const { return Text(Page(), IDC_OUTCOME_EDIT); }
    int PageIndex() const { return PropSheet_HwndToIndex(sheet, Page()); }
    void Press(int button) const { PostMessageA(sheet, PSM_PRESSBUTTON, button, 0); }
    void Click(int id) const { PostMessageA(GetDlgItem(Page(), id), BM_CLICK, 0, 0); }
    // A press before the page has been seen for a double-click's time is let go: pressed until it acts.
    void NextTo(int page) const { EXPECT_TRUE(WaitFor([&] { return Press(PSBTN_NEXT), PageIndex() == page; })); }
};

// Three faults to start from: a value to quote, later in scan order one whose program is
// gone, and last a policy value to quote. The seven start-up keys go before and after; RunOnce\Setup goes with RunOnce.
struct WizardTest : testing::Test {
    void SetUp() override
    {
        TearDown();
        for (const fs::directory_entry& entry : fs::directory_iterator(STLAG_TEST_DESKTOP))
            fs::remove_all(entry);
        std::ofstream(STLAG_TEST_DESKTOP "/mark");
        ASSERT_TRUE(fs::exists(kDesktop + "\\mark")) << kDesktop << " leads elsewhere: nothing is written there";
        SetRegText(HKEY_CURRENT_USER, kRunKey, "Verktyg", kToolLine);
        SetRegText(HKEY_LOCAL_MACHINE, kRunKey, "Borta", kGoneLine);
        SetRegText(HKEY_CURRENT_USER, kPolicyKey, "Policy", kToolLine);
    }
    void TearDown() override { DeleteStartupKeys(); }
};

TEST_F(WizardTest, RepairsEveryValueWithTheBackupOnTheDesktopAndCopiesTheLog)
{
    Wizard wizard;
    wizard.NextTo(1);
    wizard.Click(IDC_LOG_BUTTON);
    const HWND log = wizard.Box();
    EXPECT_NE(std::string::npos, wizard.state.logText.find(kGoneLine));
    EXPECT_EQ(wizard.state.logText, Text(log, IDC_LOG_EDIT));
    SendMessageA(GetDlgItem(log, IDC_COPY_BUTTON), BM_CLICK, 0, 0);
    // The CF_TEXT block whole, terminator and all.
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE copied = GetClipboardData(CF_TEXT);
    EXPECT_EQ(wizard.state.logText + '\0', std::string(LPCSTR(GlobalLock(copied)), GlobalSize(copied)));
    GlobalUnlock(copied);
    CloseClipboard();
    Dismiss(log);

    const std::string backup = Text(wizard.Page(), IDC_BACKUP_EDIT);  // on the desktop, through its link
    wizard.NextTo(2);
    EXPECT_EQ(kQuotedToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
    EXPECT_EQ(kQuotedToolLine, RunValue(HKEY_CURRENT_USER, "Policy", kPolicyKey));
    EXPECT_EQ(kDesktop, backup.substr(0, backup.rfind('\\')));
    EXPECT_EQ(LoadText(IDS_ALL_REPAIRED) + FormatText(LoadText(IDS_BACKUP_CREATED), {backup}), wizard.Shown());
    EXPECT_NE(std::string::npos, ReadFile(backup).find(R"("Verktyg"="C:\\Program Files\\Internet Explorer\\)"));
}

// A doubled Enter or a double-click on Next acts once: the page it lands on stays until it has
// been seen, so the repair page stays unchanged, and the finish page stays open.
TEST_F(WizardTest, ADoublePressActsOnlyOnThePageThatWasSeen)
{
    const auto twice = [](DWORD type, WORD key, DWORD down, DWORD up) {
        INPUT input[4] = {};
        for (int i = 0; i < 4; ++i)
            input[i].type = type, input[i].ki.wVk = key, input[i].ki.dwFlags = i % 2 ? KEYEVENTF_KEYUP : 0,
            input[i].mi.dwFlags = i % 2 ? up : down;
        SendInput(4, input, sizeof(INPUT));
        Sleep(3 * GetDoubleClickTime());  // time enough for a press that is not let go to act
    };
    Wizard wizard;
    ASSERT_TRUE(wizard.Focused(kNextButton));
    Sleep(2 * GetDoubleClickTime());
    twice(INPUT_KEYBOARD, VK_RETURN, 0, 0);
    EXPECT_EQ(1, wizard.PageIndex());
    EXPECT_EQ(kToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
    RECT next = {};
    GetWindowRect(GetDlgItem(wizard.sheet, kNextButton), &next);
    SetCursorPos((next.left + next.right) / 2, (next.top + next.bottom) / 2);
    twice(INPUT_MOUSE, 0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(2, wizard.PageIndex());
    EXPECT_FALSE(wizard.done);
    EXPECT_EQ(kQuotedToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
}

// An Enter held down while the scan runs stops on the repair page; once let go, Enter is Next again.
TEST_F(WizardTest, AHeldEnterStopsOnTheRepairPageAndEnterActsOnceLetGo)
{
    const auto key = [](DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD, input.ki.wVk = VK_RETURN, input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof input);
        Sleep(3 * GetDoubleClickTime());
    };
    Wizard wizard;
    ASSERT_TRUE(wizard.Focused(kNextButton));
    Sleep(2 * GetDoubleClickTime());
    key(0), key(0), key(KEYEVENTF_KEYUP);  // pressed, repeated, let go
    EXPECT_EQ(1, wizard.PageIndex());
    EXPECT_EQ(kToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
    key(0), key(KEYEVENTF_KEYUP);
    EXPECT_EQ(2, wizard.PageIndex());
    EXPECT_EQ(kQuotedToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
}

TEST_F(WizardTest, AdvancedModeRepairsTheTickedRowsOnlyAndNeverIntoAnExistingFile)
{
    Wizard wizard;
    wizard.NextTo(1);
    wizard.Click(IDC_ADVANCED_CHECK);
    const HWND page = wizard.Page(), list = GetDlgItem(page, IDC_FINDING_LIST);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(list) != 0; }));
    // The policy key's finding is listed last, its key shown with the policy's path.
    char key[128] = {};
    ListView_GetItemText(list, 2, 3, key, sizeof key);
    EXPECT_STREQ("HKEY_CURRENT_USER\\...\\Policies\\Explorer\\Run", key);
    // Every cell readable: the columns fit the list, and a cut one shows whole in a tip. The list
    // draws its rows itself, so that a screen reader hears each row's tick and text.
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & (WS_HSCROLL | LVS_OWNERDRAWFIXED));
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_LABELTIP);

    // The save dialog starts with the file name, refuses one that exists and opens again on
    // it; cancelled, it leaves the page's path alone.
    const std::string defaultPath = Text(page, IDC_BACKUP_EDIT), existing = kDesktop + "\\finns.reg";
    std::ofstream(existing) << "orört";
    wizard.Click(IDC_BROWSE_BUTTON);
    const HWND save = wizard.Box();
    EXPECT_EQ(defaultPath.substr(defaultPath.rfind('\\') + 1), Text(save, cmb13));
    SetDlgItemTextA(save, cmb13, existing.c_str());
    Dismiss(save, cmb13, IDOK);
    EXPECT_EQ(LoadText(IDS_BACKUP_EXISTS), Dismiss(wizard.Box()));
    EXPECT_EQ("finns.reg", Dismiss(wizard.Box(), cmb13));
    EXPECT_EQ(defaultPath, Text(page, IDC_BACKUP_EDIT));

    // Refused in basic mode, the wizard stays and changes nothing, and shows the field the
    // message asks to change.
    ListView_SetCheckState(list, 0, FALSE);
    SetDlgItemTextA(page, IDC_BACKUP_EDIT, existing.c_str());
    wizard.Click(IDC_ADVANCED_CHECK);
    Sleep(GetDoubleClickTime());  // as a user is slower than that to press once the page is seen
    wizard.Press(PSBTN_NEXT);
    EXPECT_EQ(LoadText(IDS_BACKUP_EXISTS), Dismiss(wizard.Box()));
    EXPECT_EQ(1, wizard.PageIndex());
    EXPECT_TRUE(wizard.Focused(IDC_BACKUP_EDIT));
    EXPECT_EQ(MAKELONG(0, existing.size()), SendDlgItemMessageA(page, IDC_BACKUP_EDIT, EM_GETSEL, 0, 0));
    EXPECT_TRUE(IsDlgButtonChecked(page, IDC_ADVANCED_CHECK) && IsWindowVisible(list));

    const std::string fresh = kDesktop + "\\ny.reg";
    SetDlgItemTextA(page, IDC_BACKUP_EDIT, fresh.c_str());
    wizard.NextTo(2);
    EXPECT_EQ(FormatText(LoadText(IDS_SOME_REPAIRED), {2, 3}) + FormatText(LoadText(IDS_BACKUP_CREATED), {fresh}), wizard.Shown());
    EXPECT_EQ("", RunValue(HKEY_LOCAL_MACHINE, "Borta"));
    EXPECT_EQ(FindingList{kToolFinding}, wizard.state.findings);
}

TEST_F(WizardTest, StartPageOpensAboutAndReadMeOrSaysWhyNotAndWithNothingFaultyGoesStraightToFinish)
{
    TearDown();  // nothing faulty
    RecordLaunches();
    const std::string readMe = fs::path(_pgmptr).replace_filename("ReadMe.txt").string();
    std::ofstream(readMe) << "Hjälp\r\n";
    SetCurrentDirectoryA("C:\\");
    std::ofstream("ReadMe.txt") << "Fel mapp\r\n";  // a decoy in the current folder
    Wizard wizard;
    EXPECT_TRUE(wizard.Focused(kNextButton));  // Enter on the start page goes on

    // Tab reaches the three links after OK. Both shells refuse the web target, so the
    // launcher starts the .htm program on it.
    // Wine's desktop process, explorer.exe, offers the desktop's shell only some time after it starts.
    ASSERT_TRUE(WaitFor(DesktopShellAnswers));
    wizard.Click(IDC_ABOUT_BUTTON);
    HWND about = wizard.Box(), tab = GetDlgItem(about, IDCANCEL);
    EXPECT_TRUE(FindWindowExA(about, nullptr, "Static", "Startlagaren " STLAG_VERSION));  // as project() has it
    for (const int link : {IDC_WEB_LINK, IDC_MAIL_LINK, IDC_README_LINK})
        EXPECT_EQ(GetDlgItem(about, link), tab = GetNextDlgTabItem(about, tab, FALSE));
    PostMessageA(GetDlgItem(about, IDC_WEB_LINK), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(GetDlgItem(about, IDC_WEB_LINK), WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(WaitFor([] { return Launches() == 1; }));
    EXPECT_NE(std::string::npos, ReadFile(kLaunchLog).find(LoadText(IDS_WEB_TARGET)));
    Dismiss(about);
    PostMessageA(wizard.sheet, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);  // the same box from the system menu
    EXPECT_NE("", Dismiss(wizard.Box(), IDC_WEB_LINK));

    // WM_HELP carries a pointer and cannot be posted; a thread of its own waits out any box.
    static HELPINFO help = {};
    const auto pressF1 = [&] { std::thread(SendMessageA, wizard.sheet, WM_HELP, 0, LPARAM(&help)).detach(); };
    pressF1();
    EXPECT_TRUE(WaitFor([] { return Launches() == 2; }));
    wizard.Press(PSBTN_HELP);
    EXPECT_TRUE(WaitFor([] { return Launches() == 3; }));
    const std::string launched = Lower(ReadFile(kLaunchLog)), opened = Lower(readMe);
    EXPECT_NE(launched.find(opened), launched.rfind(opened)) << "not twice " << opened << " in\n" << launched;
    // Only the web link starts from this process: the desktop's shell opens the read-me.
    EXPECT_EQ(0u, launched.rfind('[' + std::to_string(GetCurrentProcessId()) + "] ")) << launched;
    fs::remove(readMe);
    pressF1();
    EXPECT_EQ(LoadText(IDS_README_FAILED), Dismiss(wizard.Box()));

    wizard.NextTo(2);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(wizard.sheet, kFinishButton)) != 0; }));
    EXPECT_EQ(LoadText(IDS_NO_FAULTS), wizard.Shown());
}

// What of text the room cuts off in the control's font; empty when it shows whole.
std::string Overflow(HWND control, const std::string& text, UINT format, const RECT& room)
{
    RECT needed = {0, 0, room.right - room.left, 0};
    const HDC dc = GetDC(control);
    const HGDIOBJ font = SelectObject(dc, HGDIOBJ(SendMessageA(control, WM_GETFONT, 0, 0)));
    DrawTextA(dc, text.c_str(), -1, &needed, format | DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(dc, font), ReleaseDC(control, dc);
    if (needed.right <= room.right - room.left && needed.bottom <= room.bottom - room.top)
        return "";
    return '"' + text + "\" needs " + std::to_string(needed.right) + "x" + std::to_string(needed.bottom) + ", has " +
           std::to_string(room.right - room.left) + "x" + std::to_string(room.bottom - room.top) + "\n";
}

// What of a control's text its client area cuts off at dpi: a static's where it wraps, a button's
// beside its edges or its box, a list's headings within their margins. Edit fields and lists
// scroll, and a list's cut cell shows whole in a tip.
std::string Cut(HWND control, UINT dpi)
{
    char kind[32] = {};
    GetClassNameA(control, kind, sizeof kind);
    const LONG style = GetWindowLongA(control, GWL_STYLE), type = style & SS_TYPEMASK;
    RECT room = {};
    GetClientRect(control, &room);
    if (!lstrcmpiA(kind, WC_HEADERA)) {
        std::string cut;
        for (int i = 0; i < Header_GetItemCount(control); ++i) {
            char text[64] = {};
            HDITEMA item = {};
            item.mask = HDI_TEXT, item.pszText = text, item.cchTextMax = sizeof text;
            Header_GetItem(control, i, &item), Header_GetItemRect(control, i, &room);
            InflateRect(&room, -ScaleToDpi(6, dpi), 0);
            cut += Overflow(control, text, DT_SINGLELINE, room);
        }
        return cut;
    }
    if (!lstrcmpiA(kind, "Button")) {
        room.right -= ScaleToDpi((style & BS_TYPEMASK) == BS_AUTOCHECKBOX ? 16 : 4, dpi);
        return Overflow(control, CWindow(control).GetText(), DT_SINGLELINE, room);
    }
    ICONINFO icon = {};
    BITMAP image = {};
    // An icon in the system's icon size at dpi. Wine's static control refuses a black-and-white
    // icon (it reads the size from the colour image), so the second one of the About box is blank there.
    if (!lstrcmpiA(kind, "Static") && type == SS_ICON && GetIconInfo(HICON(SendMessageA(control, STM_GETICON, 0, 0)), &icon))
        return GetObject(icon.hbmColor, sizeof image, &image), DeleteObject(icon.hbmColor), DeleteObject(icon.hbmMask),
               image.bmWidth == ScaleToDpi(32, dpi) ? "" : "an icon " + std::to_string(image.bmWidth) + " wide\n";
    if (lstrcmpiA(kind, "Static") || (type > SS_RIGHT && type != SS_LEFTNOWORDWRAP))
        return "";
    const UINT wrap = type == SS_LEFTNOWORDWRAP ? 0 : DT_WORDBREAK;
    return Overflow(control, CWindow(control).GetText(), wrap | (style & SS_NOPREFIX ? DT_NOPREFIX : 0), room);
}

// What the window's controls cut off, and whether the window reaches past its monitor's work area.
std::string CutTexts(HWND window, UINT dpi)
{
    MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
    RECT shown = {}, whole = {};
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor), GetWindowRect(window, &whole);
    IntersectRect(&shown, &whole, &monitor.rcWork);
    std::pair<std::string, UINT> found{EqualRect(&shown, &whole) ? "" : "the window reaches off the screen\n", dpi};
    EnumChildWindows(window, [](HWND control, LPARAM cut) {
        auto& [texts, dpi] = *reinterpret_cast<std::pair<std::string, UINT>*>(cut);
        return texts += IsWindowVisible(control) ? Cut(control, dpi) : "", TRUE;
    }, LPARAM(&found));
    return found.first;
}

// The window's DPI awareness is per monitor, v2 where the system knows v2. Wine 8 knows only the
// first and gives it to every program whatever its manifest asks; there the manifest's setting is
// read as Windows reads it.
bool PerMonitorV2(HWND window)
{
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto call = [&](const char* name) { return reinterpret_cast<void (*)()>(GetProcAddress(user32, name)); };
    const auto context = reinterpret_cast<DPI_AWARENESS_CONTEXT(WINAPI*)(HWND)>(call("GetWindowDpiAwarenessContext"));
    const auto equal = reinterpret_cast<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT)>(
        call("AreDpiAwarenessContextsEqual"));
    const auto valid = reinterpret_cast<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT)>(call("IsValidDpiAwarenessContext"));
    if (!context || !equal || !valid)
        return false;
    if (valid(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        return equal(context(window), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    wchar_t asked[64] = {};
    return equal(context(window), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE) &&
           QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                                asked, 64, nullptr) && std::wstring(asked).rfind(L"PerMonitorV2", 0) == 0;
}

// With STLAG_HOLD=Z:/some/file, each window at 192 DPI names itself in that file and waits until
// the file is gone, so that a screenshot can be taken.
void HoldForScreenshot(UINT dpi, const char* window)
{
    const char* hold = std::getenv("STLAG_HOLD");
    if (hold != nullptr && dpi == 192)
        for (std::ofstream{hold} << window; fs::exists(hold);)
            Sleep(100);
}

// Every window of the wizard at one DPI, in the order a user meets them, each opened from the one
// before: every control's text whole, the About box's icons at the size for the DPI.
void ShowEveryTextWholeAt(UINT dpi)
{
    Wizard wizard;
    ASSERT_EQ(dpi, WindowDpi(wizard.sheet)) << "LogPixels did not take";
    EXPECT_TRUE(PerMonitorV2(wizard.sheet));
    const std::pair<const char*, std::function<HWND()>> windows[] = {
        {"start", [&] { return wizard.sheet; }},
        {"about", [&] { return wizard.Click(IDC_ABOUT_BUTTON), wizard.Box(); }},
        {"repair", [&] { wizard.NextTo(1), wizard.Click(IDC_ADVANCED_CHECK);
                         return WaitFor([&] { return IsWindowVisible(GetDlgItem(wizard.Page(), IDC_FINDING_LIST)); }), wizard.sheet; }},
        {"log", [&] { return wizard.Click(IDC_LOG_BUTTON), wizard.Box(); }},
        {"finish", [&] { return wizard.NextTo(2), wizard.sheet; }},
    };
    for (const auto& [name, open] : windows) {
        const HWND window = open();
        HoldForScreenshot(dpi, name);
        EXPECT_EQ("", CutTexts(window, dpi)) << name << " at " << dpi << " DPI";
        if (window != wizard.sheet)
            Dismiss(window);
    }
    // A move to a monitor at twice the DPI, told here as Wine has one DPI for all: each top-level
    // window stands in the suggested rectangle, and the About box shows the icon for the new DPI.
    PostMessageA(wizard.sheet, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND about = wizard.Box();
    for (const HWND window : {about, wizard.sheet}) {
        RECT suggested = {8, 16, 1000, 700}, now = {};
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), LPARAM(&suggested));
        EXPECT_TRUE(GetWindowRect(window, &now) && EqualRect(&now, &suggested));
    }
    EXPECT_EQ("", Cut(GetDlgItem(about, IDC_APP_ICON), dpi * 2));
    Dismiss(about);
}

// At 96, 144 and 192 DPI. Wine reads LogPixels when a process starts: each DPI is this test again
// in a process of its own.
TEST_F(WizardTest, EveryTextShowsWholeAtEveryDpi)
{
    if (const char* dpi = std::getenv("STLAG_TEST_DPI"))
        return ShowEveryTextWholeAt(std::atoi(dpi));
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (const DWORD dpi : {96, 144, 192}) {
        RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
        SetEnvironmentVariableA("STLAG_TEST_DPI", std::to_string(dpi).c_str());
        const auto [code, out] = Execute(L"\"" + std::wstring(self) + L"\" --gtest_filter=WizardTest.EveryTextShowsWholeAtEveryDpi");
        EXPECT_EQ(0, code) << dpi << " DPI:\n" << out;
    }
    SetEnvironmentVariableA("STLAG_TEST_DPI", nullptr);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
}

// Whether the control paints some of itself in this colour when it draws itself (PrintWindow).
bool Paints(HWND control, COLORREF colour)
{
    RECT client = {};
    GetClientRect(control, &client);
    BITMAPINFO info = {};
    BITMAPINFOHEADER& header = info.bmiHeader;
    header.biSize = sizeof header, header.biWidth = client.right, header.biHeight = -client.bottom;  // top row first
    header.biPlanes = 1, header.biBitCount = 32, header.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    PrintWindow(control, dc, PW_CLIENTONLY);
    const DWORD* pixels = static_cast<const DWORD*>(bits), *end = pixels + client.right * client.bottom;
    const bool found = std::find(pixels, end, RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour))) != end;
    SelectObject(dc, old), DeleteObject(bitmap), DeleteDC(dc);
    return found;
}

// Wine 8 keeps no high-contrast state: it refuses SPI_SETHIGHCONTRAST, ignores the registry's
// HighContrast flags and always answers SPI_GETHIGHCONTRAST with off. So the switch is made in
// this program's import table, where the system's function gives way to one that answers "on"
// as a system in a high-contrast theme does; the theme's colours are the system's own, set and
// announced by SetSysColors. Both are put back when it goes.
struct HighContrast {
    static constexpr COLORREF kLinks = RGB(255, 255, 0), kGreyText = RGB(63, 242, 63);  // as High Contrast Black has them
    static inline std::atomic<bool> on{false};
    // Asked of user32 itself: the import table's slot will lead back here.
    static inline const auto system = reinterpret_cast<decltype(&SystemParametersInfoW)>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoW")));
    const int elements[2] = {COLOR_HOTLIGHT, COLOR_GRAYTEXT};
    const COLORREF before[2] = {GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_GRAYTEXT)}, theme[2] = {kLinks, kGreyText};

    static BOOL WINAPI Parameters(UINT action, UINT size, void* data, UINT flags)
    {
        if (action != SPI_GETHIGHCONTRAST || !on)
            return system(action, size, data, flags);
        static_cast<HIGHCONTRASTW*>(data)->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
        return TRUE;
    }
    static void SwapImport(void* from, void* to)
    {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY table = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
        auto** slots = reinterpret_cast<void**>(base + table.VirtualAddress);
        DWORD protection = 0;
        VirtualProtect(slots, table.Size, PAGE_READWRITE, &protection);
        std::replace(slots, slots + table.Size / sizeof(void*), from, to);
        VirtualProtect(slots, table.Size, protection, &protection);
    }
    HighContrast()
    {
        SwapImport(reinterpret_cast<void*>(system), reinterpret_cast<void*>(&Parameters));
        on = true;
        SetSysColors(2, elements, theme);
    }
    ~HighContrast()
    {
        on = false;
        SwapImport(reinterpret_cast<void*>(&Parameters), reinterpret_cast<void*>(system));
        SetSysColors(2, elements, before);
    }
};

// What a screen reader hears of a link: its role, whether it is a link and visited, its name,
// value (in lower case: a path's letter case is no part of it) and default action.
using Heard = std::tuple<long, long, std::wstring, std::wstring, std::wstring>;
const VARIANT kSelf = [] { VARIANT self = {}; return self.vt = VT_I4, self.lVal = CHILDID_SELF, self; }();
Heard Hear(IAccessible* link)
{
    VARIANT role = {}, state = {};
    BSTR texts[3] = {};
    link->get_accRole(kSelf, &role), link->get_accState(kSelf, &state), link->get_accName(kSelf, &texts[0]);
    link->get_accValue(kSelf, &texts[1]), link->get_accDefaultAction(kSelf, &texts[2]);
    const auto text = [](BSTR text) { return std::wstring(text != nullptr ? text : L""); };
    std::wstring value = text(texts[1]);
    CharLowerW(&value[0]);
    const long linkState = state.vt == VT_I4 ? state.lVal & (STATE_SYSTEM_LINKED | STATE_SYSTEM_TRAVERSED) : -1;
    const Heard heard{role.vt == VT_I4 ? role.lVal : -1, linkState, text(texts[0]), value, text(texts[2])};
    for (BSTR text : texts)
        SysFreeString(text);
    return heard;
}

// Each link of the About box tells a screen reader what it is and follows itself as a click
// does; in a high-contrast theme it takes the system's colours, and its own when the theme goes.
TEST_F(WizardTest, AboutBoxLinksSpeakToScreenReadersAndTakeTheSystemsColoursInHighContrast)
{
    RecordLaunches();
    const std::string readMe = fs::path(_pgmptr).replace_filename("ReadMe.txt").string();
    std::ofstream(readMe) << "Hjälp\r\n";
    ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    Wizard wizard;
    ASSERT_TRUE(WaitFor(DesktopShellAnswers));
    wizard.Click(IDC_ABOUT_BUTTON);
    const HWND about = wizard.Box(), web = GetDlgItem(about, IDC_WEB_LINK);
    EXPECT_TRUE(Paints(web, linkColor));
    std::unique_ptr<HighContrast> highContrast = std::make_unique<HighContrast>();
    EXPECT_TRUE(Paints(web, HighContrast::kLinks));

    const std::pair<int, std::string> links[] = {
        {IDC_WEB_LINK, LoadText(IDS_WEB_TARGET)}, {IDC_MAIL_LINK, LoadText(IDS_MAIL_TARGET)}, {IDC_README_LINK, readMe}};
    for (const auto& [id, target] : links) {
        const HWND control = GetDlgItem(about, id);
        IAccessible* link = nullptr;
        ASSERT_EQ(S_OK, AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&link)));
        Heard heard(ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED, CWindow(control).GetWideText(), AnsiToWide(Lower(target)), L"\u00D6ppna");
        EXPECT_EQ(heard, Hear(link));
        EXPECT_EQ(S_OK, link->accDoDefaultAction(kSelf));
        EXPECT_TRUE(WaitFor([&] { return Lower(ReadFile(kLaunchLog)).find(Lower(target)) != std::string::npos; })) << target;
        std::get<1>(heard) |= STATE_SYSTEM_TRAVERSED;
        EXPECT_TRUE(WaitFor([&] { return Hear(link) == heard; }));
        link->Release();
    }
    EXPECT_EQ(3, Launches());
    EXPECT_TRUE(WaitFor([&] { return Paints(web, HighContrast::kGreyText); }));  // visited
    HighContrast::on = false;
    SendMessageW(about, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(Paints(web, visitedColor));
    highContrast.reset();
    fs::remove(readMe);
    CoUninitialize();
}

// A desktop named in a script the code page lacks: the default backup name lies on it, a typed
// name without a folder or ".reg" is completed there, and the finish page names the file whole.
TEST_F(WizardTest, BackupNamesInAnyScript)
{
    const std::wstring desktop = L"C:\\\u03A9mega\\Desktop", shellFolders = L"Software\\Microsoft\\Windows\\"
                                 L"CurrentVersion\\Explorer\\User Shell Folders";
    const auto setDesktop = [&](const std::wstring& path) {
        RegSetKeyValueW(HKEY_CURRENT_USER, shellFolders.c_str(), L"Desktop", REG_EXPAND_SZ, path.c_str(),
                        DWORD((path.size() + 1) * sizeof(wchar_t)));
    };
    fs::create_directories(desktop);
    setDesktop(desktop);
    Wizard wizard;
    wizard.NextTo(1);
    const CWindow field(GetDlgItem(wizard.Page(), IDC_BACKUP_EDIT));
    EXPECT_EQ(0u, field.GetWideText().find(desktop + L"\\Startlagaren ")) << Ansi(field.GetWideText());
    field.SetWideText(L"\u03A9backup");
    Sleep(GetDoubleClickTime());
    wizard.NextTo(2);
    setDesktop(L"%USERPROFILE%\\Desktop");
    EXPECT_TRUE(fs::exists(desktop + L"\\\u03A9backup.reg"));
    EXPECT_NE(std::wstring::npos, CWindow(GetDlgItem(wizard.Page(), IDC_OUTCOME_EDIT)).GetWideText().find(desktop + L"\\\u03A9backup.reg"));
    fs::remove_all(L"C:\\\u03A9mega");
}

// The read-me beside a program whose folder is named in a script the code page lacks opens:
// the test runs itself again from such a folder.
TEST(ReadMe, OpensBesideAProgramInAnyScript)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const fs::path program(self), folder(L"C:\\\u03A9program");
    if (program.parent_path() != folder) {
        fs::create_directories(folder);
        fs::copy_file(program, folder / program.filename(), fs::copy_options::overwrite_existing);
        std::ofstream(folder / "ReadMe.txt") << "Hj\xE4lp\r\n";
        EXPECT_EQ(0, Execute(L"\"" + (folder / program.filename()).wstring() + L"\" --gtest_filter=ReadMe.*").first);
        return fs::remove_all(folder), void();
    }
    RecordLaunches();
    ASSERT_TRUE(WaitFor(DesktopShellAnswers));
    EXPECT_TRUE(OpenProgramFile(kReadMeFileName));
    EXPECT_TRUE(WaitFor([] { return Launches() == 1; }));
    EXPECT_NE(std::string::npos, Lower(ReadFile(kLaunchLog)).find("program\\readme.txt")) << ReadFile(kLaunchLog);
}

// A file that turns up between the existence test and the creation of the backup is never
// overwritten: the repair is refused, and value and file stay as they were.
TEST_F(WizardTest, Win32FileSystemNeverOverwritesABackupThatTurnsUpJustBeforeItIsCreated)
{
    struct Racing : Win32FileSystem {
        std::unique_ptr<OutputFile> CreateNewFile(const std::string& path) override
        {
            std::ofstream(path) << "någons";
            return Win32FileSystem::CreateNewFile(path);
        }
    } files;
    Win32Registry registry;
    const std::string path = kDesktop + "\\race.reg";
    EXPECT_EQ(RepairRefusal::BackupNotCreated,
              RepairApplier(registry, files, Win32CodePage(), ResourceTexts()).Repair({kToolFinding}, {{true}, path}).refusal);
    EXPECT_EQ("någons", ReadFile(path));
    EXPECT_EQ(kToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
}

TEST(HyperLink, HeldSpaceBarLaunchesOnceOnRelease)
{
    int launches = 0;
    CHyperLink link;
    link.SetLauncher([&](const std::string&) { return ++launches, 33; });
    link.SubclassControl(CreateWindowA("STATIC", "länk", WS_POPUP, 0, 0, 60, 12, {}, {}, {}, {}));
    for (LPARAM repeat : {0x00000001, 0x40000001, 0x40000001})  // bit 30: the key was already down
        link.SendMsg(WM_KEYDOWN, VK_SPACE, repeat);
    EXPECT_EQ(0, launches);
    link.SendMsg(WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001));
    EXPECT_EQ(1, launches);
}

}  // namespace
