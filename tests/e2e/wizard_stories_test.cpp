// startlagaren.exe end to end under Wine: each story seeds the start-up keys, drives the
// wizard from this process through window messages and checks the registry, the backup
// file, the texts on screen and the clipboard. Every page visited is photographed into
// the build folder (screenshots/).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "backup_name.h"
#include "command_line_checker.h"
#include "rc_texts.h"
#include "resource.h"
#include "run_key_scanner.h"
#include "start_keys.h"
#include "text_format.h"
#include "win32_platform.h"
#include "win32_registry.h"
#include "wizard_remote.h"

namespace stlag {
namespace {

const char kToolFolder[] = "C:\\Program Files\\Stlag E2E";
const char kTool[] = "C:\\Program Files\\Stlag E2E\\verktyg.exe";
const char kScratchFolder[] = "C:\\stlag-e2e";
// The prefix's desktop is a link to the Unix home folder, which other prefixes share; the
// stories give the user a desktop of their own there instead.
const char kDesktop[] = "C:\\stlag-e2e\\Skrivbord";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Seeded values: one to quote, one to delete, one that is fine.
const char kQuoteName[] = "Trasig";
const char kQuoteData[] = "C:\\Program Files\\Stlag E2E\\verktyg.exe /start";
const char kQuoted[] = "\"C:\\Program Files\\Stlag E2E\\verktyg.exe\" /start";
const char kDeleteName[] = "Borta";
const char kDeleteData[] = "C:\\Program Files\\Stlag Saknas\\borta.exe";
const char kFineName[] = "Bra";
const char kFineData[] = "\"C:\\Program Files\\Stlag E2E\\verktyg.exe\" /tyst";

bool ReadString(HKEY root, const std::string& keyName, const std::string& name, std::string& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, RunSubKey(keyName).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    const bool found = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
                       ERROR_SUCCESS;
    RegCloseKey(key);
    data = buffer;
    return found;
}

// Sets the user's desktop folder; an empty path removes the setting. Answers the previous one.
std::string SwapDesktopSetting(const std::string& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return std::string();
    char previous[MAX_PATH] = {};
    DWORD size = sizeof previous - 1;
    if (RegQueryValueExA(key, "Desktop", nullptr, nullptr, reinterpret_cast<BYTE*>(previous), &size) != ERROR_SUCCESS)
        previous[0] = '\0';
    if (path.empty())
        RegDeleteValueA(key, "Desktop");
    else
        RegSetValueExA(key, "Desktop", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
    return previous;
}

std::string DesktopFolder()
{
    char path[MAX_PATH] = {};
    return SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE) ? path : "";
}

std::set<std::string> BackupFilesOnDesktop()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((DesktopFolder() + "\\Startlagaren *.reg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(DesktopFolder() + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class WizardStory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(1252u, GetACP());
        DeleteStartKeys();
        ASSERT_TRUE(CreateFileWithFolders(kTool));
        CreateDirectoryA(kScratchFolder, nullptr);
        CreateDirectoryA(kDesktop, nullptr);
        desktopSetting_ = SwapDesktopSetting(kDesktop);
        ASSERT_EQ(kDesktop, DesktopFolder());
        backupsBefore_ = BackupFilesOnDesktop();
        story_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }

    void TearDown() override
    {
        DeleteStartKeys();
        for (const std::string& file : BackupFilesOnDesktop())
            if (backupsBefore_.count(file) == 0)
                DeleteFileA(file.c_str());
        DeleteFileA(kTool);
        RemoveDirectoryA(kToolFolder);
        SwapDesktopSetting(desktopSetting_);
        RemoveDirectoryA(kDesktop);
        DeleteFileA((std::string(kScratchFolder) + "\\finns.reg").c_str());
        RemoveDirectoryA(kScratchFolder);
    }

    static void SeedFaults()
    {
        SetString(HKEY_CURRENT_USER, "Run", kQuoteName, kQuoteData);
        SetString(HKEY_CURRENT_USER, "Run", kFineName, kFineData);
        SetString(HKEY_LOCAL_MACHINE, "Run", kDeleteName, kDeleteData);
    }

    // What the scan of the registry as it stands writes to the log.
    std::string ExpectedLog() const
    {
        Win32Registry registry;
        Win32FileSystem files;
        Win32CodePage codePage;
        const CommandLineChecker checker(files, codePage);
        RunEntryFixList findings;
        std::string log;
        RunKeyScanner(registry, checker, codePage, texts_).ScanRunKeys(findings, log, nullptr);
        return log;
    }

    void Shot(const std::string& name)
    {
        Sleep(500);  // painting comes after every other message; let the windows finish it
        EXPECT_TRUE(wizard_.Screenshot(E2E_SCREENSHOT_DIR, story_ + "-" + std::to_string(++shots_) + "-" + name))
            << "screenshot " << name;
    }

    // The page whose marker control is present is the current one, and the sheet shows
    // the buttons that page sets: Next or Finish, never Back, always Cancel and Help.
    void ExpectPage(int markerId, bool finishPage)
    {
        ASSERT_TRUE(WaitUntil([&] { return wizard_.PageItem(markerId) != nullptr; })) << "page with control " << markerId;
        // The sheet opens with Back and Next enabled; the start page's request for Next only
        // is posted and arrives a moment later, so Back is waited for like the others.
        const bool settled = WaitUntil([&] {
            const HWND next = wizard_.SheetButton(kNextButton), finish = wizard_.SheetButton(kFinishButton);
            const bool backOff = !IsWindowEnabled(wizard_.SheetButton(kBackButton));
            return backOff && (finishPage ? IsWindowVisible(finish) && IsWindowEnabled(finish) && !IsWindowVisible(next)
                                          : IsWindowVisible(next) && IsWindowEnabled(next) && !IsWindowVisible(finish));
        });
        EXPECT_TRUE(settled) << (finishPage ? "Finish only" : "Next only");
        EXPECT_FALSE(IsWindowEnabled(wizard_.SheetButton(kBackButton)));
        EXPECT_TRUE(IsWindowVisible(wizard_.SheetButton(IDCANCEL)));
        EXPECT_TRUE(IsWindowVisible(wizard_.SheetButton(IDHELP)));
    }

    void StartAtRepairPage()
    {
        ASSERT_TRUE(wizard_.Start(STARTLAGAREN_EXE));
        ExpectPage(IDC_ABOUT_BUTTON, false);
        Shot("start");
        wizard_.PressButton(PSBTN_NEXT);
        ExpectPage(IDC_ADVANCED_CHECK, false);
        ASSERT_TRUE(WaitUntil([&] { return !WindowText(wizard_.PageItem(IDC_FOUND_TEXT)).empty(); }));
    }

    void SwitchToAdvancedMode()
    {
        SendMessageA(wizard_.PageItem(IDC_ADVANCED_CHECK), BM_CLICK, 0, 0);
        for (const int id : {IDC_BACKUP_LABEL, IDC_BACKUP_EDIT, IDC_FINDING_LIST, IDC_BROWSE_BUTTON, IDC_UNTICK_NOTE}) {
            EXPECT_TRUE(IsWindowVisible(wizard_.PageItem(id))) << id;
            EXPECT_TRUE(IsWindowEnabled(wizard_.PageItem(id))) << id;
        }
    }

    void Finish()
    {
        wizard_.PressButton(PSBTN_FINISH);
        ASSERT_TRUE(wizard_.WaitForExit());
        EXPECT_EQ(0u, wizard_.ExitCode());
    }

    void ExpectSeededValuesUnchanged()
    {
        std::string data;
        EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, "Run", kQuoteName, data));
        EXPECT_EQ(kQuoteData, data);
        EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Run", kDeleteName, data));
        EXPECT_EQ(kDeleteData, data);
        EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, "Run", kFineName, data));
        EXPECT_EQ(kFineData, data);
    }

    std::set<std::string> NewBackups() const
    {
        std::set<std::string> created;
        for (const std::string& file : BackupFilesOnDesktop())
            if (backupsBefore_.count(file) == 0)
                created.insert(file);
        return created;
    }

    // The text of the log window opened from the current page, which is then closed again;
    // on the way "&Kopiera" must leave clipboardLog on the clipboard.
    std::string LogWindowText(const std::string& shotName, const std::string& clipboardLog)
    {
        PostMessageA(wizard_.PageItem(IDC_LOG_BUTTON), BM_CLICK, 0, 0);
        HWND log = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (log = wizard_.FindDialog(Ansi("Felsökningslogg"))) != nullptr; }));
        if (log == nullptr)
            return std::string();
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        EXPECT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(log, nullptr), &thread));
        EXPECT_EQ(GetDlgItem(log, IDOK), thread.hwndFocus) << "Enter closes the window at once";
        const std::string text = WindowText(GetDlgItem(log, IDC_LOG_EDIT));
        Shot(shotName);
        CopyAndCheckClipboard(log, clipboardLog);
        PostMessageA(log, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(log); }));
        return text;
    }

    // "&Kopiera" twice: the clipboard then holds the log once, as CF_TEXT, and nothing of before.
    void CopyAndCheckClipboard(HWND log, const std::string& expected)
    {
        const UINT earlier = RegisterClipboardFormatA("Stlag.E2E.Earlier");
        ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != 0; }));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
        std::memcpy(GlobalLock(block), "old", 4);
        GlobalUnlock(block);
        SetClipboardData(earlier, block);
        CloseClipboard();

        const HWND copy = GetDlgItem(log, IDC_COPY_BUTTON);
        SendMessageA(copy, BM_CLICK, 0, 0);
        SendMessageA(copy, BM_CLICK, 0, 0);

        ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != 0; }));
        EXPECT_FALSE(IsClipboardFormatAvailable(earlier));
        HANDLE text = GetClipboardData(CF_TEXT);
        ASSERT_NE(nullptr, text);
        const char* bytes = static_cast<const char*>(GlobalLock(text));
        ASSERT_NE(nullptr, bytes);
        EXPECT_GE(GlobalSize(text), expected.size() + 1);
        EXPECT_EQ(expected, std::string(bytes));
        GlobalUnlock(text);
        CloseClipboard();
    }

    WizardProcess wizard_;
    ResourceTexts texts_;
    std::set<std::string> backupsBefore_;
    std::string desktopSetting_;
    std::string story_;
    int shots_ = 0;
};

TEST_F(WizardStory, NothingFaultyGoesFromTheStartPageToTheFinishPage)
{
    SetString(HKEY_CURRENT_USER, "Run", kFineName, kFineData);
    ASSERT_TRUE(wizard_.Start(STARTLAGAREN_EXE));
    ExpectPage(IDC_ABOUT_BUTTON, false);
    Shot("start");

    wizard_.PressButton(PSBTN_NEXT);
    ExpectPage(IDC_OUTCOME_EDIT, true);
    EXPECT_EQ(texts_.Load(IDS_NO_FAULTS), WindowText(wizard_.PageItem(IDC_OUTCOME_EDIT)));
    for (HWND page : wizard_.CreatedPages()) {
        if (GetDlgItem(page, IDC_FOUND_TEXT) != nullptr) {
            EXPECT_EQ("", WindowText(GetDlgItem(page, IDC_FOUND_TEXT)));
        }
    }
    Shot("finish");

    Finish();
    EXPECT_TRUE(NewBackups().empty());
    std::string data;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, "Run", kFineName, data));
    EXPECT_EQ(kFineData, data);
}

TEST_F(WizardStory, FaultsInBasicModeAreRepairedWithABackupOnTheDesktop)
{
    SeedFaults();
    StartAtRepairPage();
    EXPECT_EQ(FormatText(texts_.Load(IDS_FAULTS_FOUND), {2}), WindowText(wizard_.PageItem(IDC_FOUND_TEXT)));
    const HWND list = wizard_.PageItem(IDC_FINDING_LIST);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_FALSE(IsWindowVisible(wizard_.PageItem(IDC_BACKUP_EDIT)));
    EXPECT_EQ(2, wizard_.ListCount(list));
    const std::string backup = WindowText(wizard_.PageItem(IDC_BACKUP_EDIT));
    EXPECT_EQ(0u, backup.rfind(DesktopFolder() + "\\Startlagaren ", 0)) << backup;
    EXPECT_EQ(std::string("Startlagaren 2026-01-01 000000.reg").size(), GetFileNamePart(backup).size()) << backup;
    Shot("repair");

    wizard_.PressButton(PSBTN_NEXT);
    ExpectPage(IDC_OUTCOME_EDIT, true);
    EXPECT_EQ(texts_.Load(IDS_ALL_REPAIRED) + FormatText(texts_.Load(IDS_BACKUP_CREATED), {backup}),
              WindowText(wizard_.PageItem(IDC_OUTCOME_EDIT)));
    Shot("finish");

    std::string data;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, "Run", kQuoteName, data));
    EXPECT_EQ(kQuoted, data);
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, "Run", kDeleteName, data));
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, "Run", kFineName, data));
    EXPECT_EQ(kFineData, data);

    EXPECT_EQ(std::set<std::string>{backup}, NewBackups());
    const std::string file = ReadFileText(backup);
    EXPECT_EQ(0u, file.rfind("REGEDIT4\n", 0));
    EXPECT_NE(std::string::npos, file.find("\"Trasig\"=\"C:\\\\Program Files\\\\Stlag E2E\\\\verktyg.exe /start\""));
    EXPECT_NE(std::string::npos, file.find("\"Borta\"=\"C:\\\\Program Files\\\\Stlag Saknas\\\\borta.exe\""));
    Finish();
}

TEST_F(WizardStory, AdvancedModeRepairsOnlyTheTickedRows)
{
    SeedFaults();
    StartAtRepairPage();
    SwitchToAdvancedMode();
    const HWND list = wizard_.PageItem(IDC_FINDING_LIST);
    ASSERT_EQ(2, wizard_.ListCount(list));
    EXPECT_EQ(kQuoteName, wizard_.ListText(list, 0, 0));
    EXPECT_EQ(kQuoted, wizard_.ListText(list, 0, 1));
    EXPECT_EQ(kQuoteData, wizard_.ListText(list, 0, 2));
    EXPECT_EQ("HKEY_CURRENT_USER\\...\\Run", wizard_.ListText(list, 0, 3));
    EXPECT_EQ(kDeleteName, wizard_.ListText(list, 1, 0));
    EXPECT_EQ("(radera variabel)", wizard_.ListText(list, 1, 1));
    EXPECT_EQ(kDeleteData, wizard_.ListText(list, 1, 2));
    EXPECT_EQ("HKEY_LOCAL_MACHINE\\...\\Run", wizard_.ListText(list, 1, 3));
    EXPECT_TRUE(wizard_.ListChecked(list, 0));
    EXPECT_TRUE(wizard_.ListChecked(list, 1));

    ASSERT_TRUE(wizard_.SetListChecked(list, 1, false));
    EXPECT_FALSE(wizard_.ListChecked(list, 1));
    const std::string backup = WindowText(wizard_.PageItem(IDC_BACKUP_EDIT));
    Shot("advanced");

    wizard_.PressButton(PSBTN_NEXT);
    ExpectPage(IDC_OUTCOME_EDIT, true);
    const std::string outcome = WindowText(wizard_.PageItem(IDC_OUTCOME_EDIT));
    EXPECT_EQ(0u, outcome.rfind("1 problem av 2 har lagats.", 0)) << outcome;
    EXPECT_EQ(FormatText(texts_.Load(IDS_SOME_REPAIRED), {1, 2}) + FormatText(texts_.Load(IDS_BACKUP_CREATED), {backup}),
              outcome);
    Shot("finish");

    std::string data;
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, "Run", kQuoteName, data));
    EXPECT_EQ(kQuoted, data);
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, "Run", kDeleteName, data));
    EXPECT_EQ(kDeleteData, data);
    Finish();
}

TEST_F(WizardStory, AnExistingBackupNameIsRefusedAndTheWizardStays)
{
    SeedFaults();
    const std::string existing = std::string(kScratchFolder) + "\\finns.reg";
    ASSERT_TRUE(CreateFileWithFolders(existing));
    StartAtRepairPage();
    SwitchToAdvancedMode();
    SendMessageA(wizard_.PageItem(IDC_BACKUP_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(existing.c_str()));
    Shot("existing-name");

    wizard_.PressButton(PSBTN_NEXT);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = wizard_.FindDialog(texts_.Load(IDS_APP_TITLE))) != nullptr; }));
    const std::vector<std::string> statics = ChildTexts(box, "Static");
    EXPECT_NE(statics.end(), std::find(statics.begin(), statics.end(), texts_.Load(IDS_BACKUP_EXISTS)));
    Shot("message");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));

    ExpectPage(IDC_ADVANCED_CHECK, false);
    EXPECT_EQ(existing, WindowText(wizard_.PageItem(IDC_BACKUP_EDIT)));
    EXPECT_EQ(2, wizard_.ListCount(wizard_.PageItem(IDC_FINDING_LIST)));
    Shot("still-repair");
    ExpectSeededValuesUnchanged();
    EXPECT_EQ("", ReadFileText(existing));
    EXPECT_TRUE(NewBackups().empty());

    wizard_.PressButton(PSBTN_CANCEL);
    ASSERT_TRUE(wizard_.WaitForExit());
    ExpectSeededValuesUnchanged();
}

// The save dialog's file-name field: an edit, or the edit inside a combo box.
HWND SaveDialogNameField(HWND dialog)
{
    constexpr int kNameEdit = 0x480, kNameCombo = 0x47C;  // edt1 and cmb13 of the common dialogs
    if (HWND edit = GetDlgItem(dialog, kNameEdit))
        return edit;
    HWND combo = GetDlgItem(dialog, kNameCombo);
    HWND inner = combo != nullptr ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
    return inner != nullptr ? inner : combo;
}

TEST_F(WizardStory, TheBrowseButtonChoosesTheBackupFile)
{
    SeedFaults();
    StartAtRepairPage();
    SwitchToAdvancedMode();
    const HWND edit = wizard_.PageItem(IDC_BACKUP_EDIT);
    const std::string typed = std::string(kDesktop) + "\\egen.reg";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));

    PostMessageA(wizard_.PageItem(IDC_BROWSE_BUTTON), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = wizard_.FindDialog("")) != nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(SaveDialogNameField(dialog)) == "egen.reg"; }))
        << WindowText(SaveDialogNameField(dialog));
    Shot("save-dialog");
    // A name without extension comes back with the default one, in the folder of the path.
    SendMessageA(SaveDialogNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("vald"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(std::string(kDesktop) + "\\vald.reg", WindowText(edit));

    // A file name longer than the dialog's buffer is not handed to it, and cancelling keeps it.
    const std::string tooLong = std::string(kDesktop) + "\\" + std::string(300, 'x') + ".reg";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tooLong.c_str()));
    PostMessageA(wizard_.PageItem(IDC_BROWSE_BUTTON), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return (dialog = wizard_.FindDialog("")) != nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return SaveDialogNameField(dialog) != nullptr && IsWindowVisible(dialog); }));
    EXPECT_EQ("", WindowText(SaveDialogNameField(dialog)));
    Shot("save-dialog-long-name");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(tooLong, WindowText(edit));
    Shot("after-cancel");

    wizard_.PressButton(PSBTN_CANCEL);
    ASSERT_TRUE(wizard_.WaitForExit());
    ExpectSeededValuesUnchanged();
}

TEST_F(WizardStory, TheLogWindowShowsAndCopiesTheScansLog)
{
    SeedFaults();
    const std::string expected = ExpectedLog();
    ASSERT_NE(std::string::npos, expected.find(Ansi("FELAKTIGT VÄRDE!")));
    StartAtRepairPage();
    EXPECT_EQ(expected, LogWindowText("log-from-repair", expected));
    ExpectPage(IDC_ADVANCED_CHECK, false);

    wizard_.PressButton(PSBTN_NEXT);
    ExpectPage(IDC_OUTCOME_EDIT, true);
    Shot("finish");
    // The log is the scan's, not the registry's after the repair.
    EXPECT_EQ(expected, LogWindowText("log-from-finish", expected));
    EXPECT_NE(expected, ExpectedLog());
    ExpectPage(IDC_OUTCOME_EDIT, true);
    Finish();
}

TEST_F(WizardStory, CancelOnTheStartPageChangesAndReadsNothing)
{
    SeedFaults();
    ASSERT_TRUE(wizard_.Start(STARTLAGAREN_EXE));
    ExpectPage(IDC_ABOUT_BUTTON, false);
    Shot("start");
    // The scan runs when the repair page is created; only the start page exists.
    EXPECT_EQ(1u, wizard_.CreatedPages().size());

    wizard_.PressButton(PSBTN_CANCEL);
    ASSERT_TRUE(wizard_.WaitForExit());
    ExpectSeededValuesUnchanged();
    EXPECT_TRUE(NewBackups().empty());
}

}  // namespace
}  // namespace stlag
