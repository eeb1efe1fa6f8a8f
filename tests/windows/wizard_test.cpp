// The wizard in this process: the real sheet runs on a worker thread as in the program,
// the test thread works it through window messages, then reads the state it left, Wine's
// registry and the files.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "hyper_link.h"
#include "resource.h"
#include "text_format.h"
#include "texts.h"
#include "wizard_sheet.h"

using namespace stlag;
namespace fs = std::filesystem;

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Wine links the desktop to $HOME; the user's desktop is moved here, inside the prefix,
// so that no backup lands in the real home folder.
const std::string kDesktop = "C:\\stlag-desktop";
const char kTool[] = "C:\\Program Files\\Stlag Test\\z.exe";
const char kToolLine[] = "C:\\Program Files\\Stlag Test\\z.exe /a";
const char kQuotedToolLine[] = "\"C:\\Program Files\\Stlag Test\\z.exe\" /a";
const char kGoneLine[] = "C:\\Program Files\\Stlag Borta\\q.exe";
const std::string kRecorderLog = std::string(LINK_RECORDER_EXE, sizeof LINK_RECORDER_EXE - 4) + "log";
constexpr int kNextButton = 0x3024, kFinishButton = 0x3025;  // comctl32's own ids in every wizard
constexpr int kMessageBoxText = 0xFFFF;  // the static text of a message box

// With STLAG_SCREENSHOTS set, the screen as the user sees it, for a person to look at.
void Shot(const std::string& name)
{
    const char* folder = getenv("STLAG_SCREENSHOTS");
    std::string command = "Z:\\usr\\bin\\import -window root " + std::string(folder ? folder : "") + "/" + name + ".png";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (folder && CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        WaitForSingleObject(process.hProcess, 10000), CloseHandle(process.hProcess), CloseHandle(process.hThread);
}

// Ten seconds at most.
bool WaitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 500; ++i, Sleep(20))
        if (done()) return true;
    return false;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Lower(std::string text) { return CharLowerA(&text[0]), text; }
std::string Text(HWND window, int id) { return CWindow(GetDlgItem(window, id)).GetText(); }
long Launches() { const std::string log = ReadFile(kRecorderLog); return std::count(log.begin(), log.end(), '\n'); }

void SetRegText(HKEY root, const std::string& key, const char* name, const std::string& data)
{
    RegSetKeyValueA(root, key.c_str(), name, REG_SZ, data.c_str(), static_cast<DWORD>(data.size() + 1));
}

// Empty when the value is gone.
std::string RunValue(HKEY root, const char* name)
{
    char data[512] = {};
    DWORD size = sizeof data;
    RegGetValueA(root, kRunKey, name, RRF_RT_REG_SZ, nullptr, data, &size);
    return data;
}

// Files of this type, and the launcher's fallback for .htm, start the link recorder.
void Associate(const std::string& extension)
{
    SetRegText(HKEY_CLASSES_ROOT, extension, nullptr, "StlagTest" + extension);
    SetRegText(HKEY_CLASSES_ROOT, "StlagTest" + extension + "\\shell\\open\\command", nullptr,
               "\"" LINK_RECORDER_EXE "\" \"%1\"");
}

// The CF_TEXT block whole, terminator and all.
std::string Clipboard()
{
    const HANDLE data = OpenClipboard(nullptr) ? GetClipboardData(CF_TEXT) : nullptr;
    const std::string text(data ? static_cast<const char*>(GlobalLock(data)) : "", data ? GlobalSize(data) : 0);
    GlobalUnlock(data);
    CloseClipboard();
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
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        CWizardSheet(state, engine).DoModal();
        done = true;
    }};
    HWND sheet = Dialog(nullptr);

    ~Wizard() { End(); }
    // A shown dialog of the wizard's thread other than except: the sheet, or a box over it.
    HWND Dialog(HWND except) const
    {
        HWND found = nullptr;
        WaitFor([&] {
            // Top-level windows, topmost first; 32770 is the dialog class.
            for (found = GetTopWindow(nullptr); found != nullptr; found = GetWindow(found, GW_HWNDNEXT))
                if (found != except && GetWindowThreadProcessId(found, nullptr) == threadId &&
                    IsWindowVisible(found) && GetClassLongPtrA(found, GCW_ATOM) == 32770)
                    return true;
            return done.load();
        });
        return found;
    }
    HWND Focus() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
    }
    HWND Page() const { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
    int PageIndex() const { return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, (WPARAM)Page(), 0)); }
    // Posted, as is every click: its handler may run a modal box, which would hold a sent message.
    void Press(int button) const { PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0); }
    void Click(int id) const { PostMessageA(GetDlgItem(Page(), id), BM_CLICK, 0, 0); }
    void NextTo(int page) const { Press(PSBTN_NEXT); EXPECT_TRUE(WaitFor([&] { return PageIndex() == page; })); }
    // Cancels whatever is still open, topmost first, until the sheet has returned. One that
    // does not close ends the run: its thread would go on using this object.
    void End()
    {
        if (!WaitFor([&] { return done || (PostMessageA(Dialog(nullptr), WM_COMMAND, IDCANCEL, 0), false); })) {
            ADD_FAILURE() << "the wizard does not close";
            ExitProcess(1);
        }
        if (worker.joinable())
            worker.join();
    }
};

void Close(HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); })); }

class WizardTest : public testing::Test {
protected:
    void SetUp() override
    {
        TearDown();
        SetRegText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                   "Desktop", kDesktop);
        SetCurrentDirectoryA("C:\\");  // the save dialog leaves the process in the desktop folder
        fs::remove_all(kDesktop);
        fs::create_directories(kDesktop);
        fs::create_directories(fs::path(kTool).parent_path());
        std::ofstream(kTool) << "MZ";
        fs::remove(kRecorderLog);
    }
    // The seven start-up keys; RunOnce\Setup goes with RunOnce.
    void TearDown() override
    {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            for (const char* name : {"", "Once", "Services", "ServicesOnce"})
                RegDeleteTreeA(root, (std::string(kRunKey) + name).c_str());
    }
    // One value to quote and, later in scan order, one whose program is gone.
    static void SeedFaults()
    {
        SetRegText(HKEY_CURRENT_USER, kRunKey, "Verktyg", kToolLine);
        SetRegText(HKEY_LOCAL_MACHINE, kRunKey, "Borta", kGoneLine);
    }
};

TEST_F(WizardTest, NothingFaultyGoesFromTheStartPageStraightToFinish)
{
    SetRegText(HKEY_CURRENT_USER, kRunKey, "Fungerar", "C:\\windows\\notepad.exe");
    Wizard wizard;
    // Enter on the start page goes on.
    EXPECT_TRUE(WaitFor([&] { return GetDlgCtrlID(wizard.Focus()) == kNextButton; }));
    Shot("start");
    wizard.NextTo(2);
    Shot("finish");
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(wizard.sheet, kFinishButton)) != 0; }));
    wizard.Press(PSBTN_FINISH);
    wizard.End();
    EXPECT_EQ(LoadText(IDS_NO_FAULTS), wizard.state.outcomeText);
}

TEST_F(WizardTest, RepairsEveryValueWithTheBackupOnTheDesktopAndCopiesTheLog)
{
    SeedFaults();
    Wizard wizard;
    wizard.NextTo(1);
    wizard.Click(IDC_LOG_BUTTON);
    const HWND log = wizard.Dialog(wizard.sheet);
    EXPECT_NE(std::string::npos, wizard.state.logText.find(kGoneLine));
    EXPECT_EQ(wizard.state.logText, Text(log, IDC_LOG_EDIT));
    SendMessageA(GetDlgItem(log, IDC_COPY_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(wizard.state.logText + '\0', Clipboard());
    Close(log);

    wizard.NextTo(2);
    wizard.End();
    EXPECT_EQ(kQuotedToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
    EXPECT_EQ("", RunValue(HKEY_LOCAL_MACHINE, "Borta"));
    ASSERT_EQ(1, std::distance(fs::directory_iterator(kDesktop), {}));
    const std::string backup = fs::directory_iterator(kDesktop)->path().string();
    EXPECT_EQ(LoadText(IDS_ALL_REPAIRED) + FormatText(LoadText(IDS_BACKUP_CREATED), {backup}),
              wizard.state.outcomeText);
    EXPECT_EQ(0u, ReadFile(backup).find("REGEDIT4"));
    EXPECT_NE(std::string::npos, ReadFile(backup).find(R"("Verktyg"="C:\\Program Files\\Stlag Test\\z.exe /a")"));
}

TEST_F(WizardTest, AdvancedModeRepairsTheTickedRowsOnlyAndNeverIntoAnExistingFile)
{
    SeedFaults();
    Wizard wizard;
    wizard.NextTo(1);
    wizard.Click(IDC_ADVANCED_CHECK);
    const HWND page = wizard.Page();
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(page, IDC_FINDING_LIST)) != 0; }));

    // Every cell readable: the columns fit the list, and a cut one shows whole in a tip.
    const HWND list = GetDlgItem(page, IDC_FINDING_LIST);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_LABELTIP);
    RECT client;
    GetClientRect(list, &client);
    int widths = 0;
    for (int column = 0; column < 4; ++column)
        widths += ListView_GetColumnWidth(list, column);
    EXPECT_LE(widths, client.right);
    Shot("repair-advanced");

    // The save dialog starts with the file name, refuses one that exists and opens again on
    // it; cancelled, it leaves the page's path alone.
    const std::string defaultPath = Text(page, IDC_BACKUP_EDIT), existing = kDesktop + "\\finns.reg";
    std::ofstream(existing) << "orört";
    wizard.Click(IDC_BROWSE_BUTTON);
    HWND save = wizard.Dialog(wizard.sheet);
    EXPECT_EQ(defaultPath.substr(defaultPath.rfind('\\') + 1), Text(save, cmb13));
    SetDlgItemTextA(save, cmb13, existing.c_str());
    PostMessageA(save, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(save); }));
    const HWND exists = wizard.Dialog(wizard.sheet);
    EXPECT_EQ(LoadText(IDS_BACKUP_EXISTS), Text(exists, kMessageBoxText));
    Close(exists);
    save = wizard.Dialog(wizard.sheet);
    EXPECT_EQ("finns.reg", Text(save, cmb13));
    Close(save);
    EXPECT_EQ(defaultPath, Text(page, IDC_BACKUP_EDIT));

    // Refused in basic mode, the wizard shows the field the message asks to change.
    ListView_SetCheckState(list, 0, FALSE);
    SetDlgItemTextA(page, IDC_BACKUP_EDIT, existing.c_str());
    wizard.Click(IDC_ADVANCED_CHECK);
    wizard.Press(PSBTN_NEXT);
    const HWND refusal = wizard.Dialog(wizard.sheet);
    EXPECT_EQ(LoadText(IDS_BACKUP_EXISTS), Text(refusal, kMessageBoxText));
    Close(refusal);
    EXPECT_TRUE(WaitFor([&] { return wizard.Focus() == GetDlgItem(page, IDC_BACKUP_EDIT); }));
    EXPECT_EQ(MAKELONG(0, existing.size()), SendDlgItemMessageA(page, IDC_BACKUP_EDIT, EM_GETSEL, 0, 0));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_ADVANCED_CHECK));
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(kToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
    EXPECT_EQ(kGoneLine, RunValue(HKEY_LOCAL_MACHINE, "Borta"));
    EXPECT_EQ("orört", ReadFile(existing));
    EXPECT_EQ(1, wizard.PageIndex());

    const std::string fresh = kDesktop + "\\ny.reg";
    SetDlgItemTextA(page, IDC_BACKUP_EDIT, fresh.c_str());
    wizard.NextTo(2);
    wizard.End();
    EXPECT_EQ(FormatText(LoadText(IDS_SOME_REPAIRED), {1, 2}) + FormatText(LoadText(IDS_BACKUP_CREATED), {fresh}),
              wizard.state.outcomeText);
    EXPECT_EQ(kToolLine, RunValue(HKEY_CURRENT_USER, "Verktyg"));
    EXPECT_EQ("", RunValue(HKEY_LOCAL_MACHINE, "Borta"));
    const FindingList left = {{"Verktyg", kToolLine, kQuotedToolLine, "Run", "HKEY_CURRENT_USER"}};
    EXPECT_EQ(left, wizard.state.findings);
}

TEST_F(WizardTest, AboutBoxAndReadMeOpenFromEachOfTheirEntriesOrSayWhyNot)
{
    Associate(".htm");
    Associate(".txt");
    const std::string readMe = fs::path(_pgmptr).replace_filename("ReadMe.txt").string();
    std::ofstream(readMe) << "Hjälp\r\n";
    std::ofstream("ReadMe.txt") << "Fel mapp\r\n";  // a decoy in the current folder
    Wizard wizard;

    // The shell refuses the web target, so the launcher starts the .htm program on it.
    wizard.Click(IDC_ABOUT_BUTTON);
    HWND about = wizard.Dialog(wizard.sheet);
    const HWND web = GetDlgItem(about, IDC_WEB_LINK);
    // Tab reaches the three links after OK.
    HWND tab = GetDlgItem(about, IDCANCEL);
    for (const int link : {IDC_WEB_LINK, IDC_MAIL_LINK, IDC_README_LINK})
        EXPECT_EQ(GetDlgItem(about, link), tab = GetNextDlgTabItem(about, tab, FALSE));
    Shot("about");
    PostMessageA(web, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(web, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(WaitFor([] { return Launches() == 1; }));
    EXPECT_NE(std::string::npos, ReadFile(kRecorderLog).find(LoadText(IDS_WEB_TARGET)));
    Close(about);
    PostMessageA(wizard.sheet, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    about = wizard.Dialog(wizard.sheet);
    EXPECT_NE(nullptr, GetDlgItem(about, IDC_WEB_LINK));
    Close(about);

    // WM_HELP carries a pointer and cannot be posted; a thread of its own waits out any box.
    static HELPINFO help = {};
    const auto pressF1 = [&] { std::thread(SendMessageA, wizard.sheet, WM_HELP, 0, LPARAM(&help)).detach(); };
    pressF1();
    EXPECT_TRUE(WaitFor([] { return Launches() == 2; }));
    wizard.Press(PSBTN_HELP);
    EXPECT_TRUE(WaitFor([] { return Launches() == 3; }));
    const std::string launched = Lower(ReadFile(kRecorderLog)), opened = Lower(readMe);
    EXPECT_NE(launched.find(opened), launched.rfind(opened)) << "not twice " << opened << " in\n" << launched;
    fs::remove(readMe);
    pressF1();
    const HWND box = wizard.Dialog(wizard.sheet);
    EXPECT_EQ(LoadText(IDS_README_FAILED), Text(box, kMessageBoxText));
    Close(box);
}

TEST(HyperLink, HeldSpaceBarLaunchesOnceOnRelease)
{
    const HWND control = CreateWindowA("STATIC", "länk", WS_POPUP, 0, 0, 60, 12, nullptr, nullptr, nullptr, nullptr);
    int launches = 0;
    CHyperLink link;
    link.SetLauncher([&](const std::string&) { return ++launches, 33; });
    link.SubclassControl(control);
    for (LPARAM repeat : {0x00000001, 0x40000001, 0x40000001})  // bit 30: the key was already down
        SendMessageA(control, WM_KEYDOWN, VK_SPACE, repeat);
    EXPECT_EQ(0, launches);
    SendMessageA(control, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001));
    EXPECT_EQ(1, launches);
}

}  // namespace
