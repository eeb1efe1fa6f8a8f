// Links, help and the About box of startlagaren.exe end to end under Wine. A recorder
// program stands in for the programs that the prefix's .htm and .txt associations name, so
// the stories see the exact command line each launch produced. The About box is
// photographed into screenshots/.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "launch_command.h"
#include "resource.h"
#include "wizard_remote.h"

namespace stlag {
namespace {

const char kAboutCaption[] = "Om Startlagaren";
const char kWebTarget[] = "URL:http://www.example.com/startlagaren/";
const char kReadMeMissing[] = "ReadMe-filen kunde inte \xF6ppnas.";  // ANSI 1252

std::string WindowsPath(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The default value of HKEY_CLASSES_ROOT\name, or nothing when the key is not there.
struct ClassValue {
    bool exists = false;
    std::string value;
};

ClassValue ReadClassValue(const char* name)
{
    ClassValue read;
    char buffer[1024] = {};
    LONG size = sizeof buffer;
    read.exists = RegQueryValueA(HKEY_CLASSES_ROOT, name, buffer, &size) == ERROR_SUCCESS;
    if (read.exists)
        read.value = buffer;
    return read;
}

void WriteClassValue(const std::string& name, const std::string& value)
{
    RegSetValueA(HKEY_CLASSES_ROOT, name.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
}

// Real input through the system, so hit-testing, cursor and focus take part.
void MovePointerTo(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void ClickWithMouse(HWND window)
{
    MovePointerTo(window);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        input.push_back(down);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        --key;
        INPUT up = {};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(up);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// Whether any pixel of the window's area on screen has the colour.
bool ShowsColour(HWND window, COLORREF colour)
{
    RECT r = {};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    bool found = false;
    for (int y = r.top; y < r.bottom && !found; ++y)
        for (int x = r.left; x < r.right && !found; ++x)
            found = GetPixel(screen, x, y) == colour;
    ReleaseDC(nullptr, screen);
    return found;
}

// The one colour of the link colours that the link's text shows, once it has been repainted.
COLORREF LinkTextColour(HWND link)
{
    COLORREF shown = CLR_INVALID;
    WaitUntil([&] {
        int kinds = 0;
        for (COLORREF c : {RGB(0, 0, 255), RGB(0, 128, 128), RGB(128, 0, 128), RGB(255, 0, 0)}) {
            if (ShowsColour(link, c)) {
                shown = c;
                ++kinds;
            }
        }
        return kinds == 1;
    }, 3000);
    return shown;
}

// Keys go to the focus window of the foreground window, as when a user types.
void TypeInto(HWND window, std::initializer_list<WORD> keys)
{
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, 3000);
    PressKeys(keys);
}

class LinkStory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(1252u, GetACP());
        story_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        program_ = WindowsPath(STARTLAGAREN_EXE);
        recorder_ = WindowsPath(LINK_RECORDER_EXE);
        workFolder_ = WindowsPath(E2E_WORK_DIR);
        CreateDirectoryA(workFolder_.c_str(), nullptr);
        recordLog_ = workFolder_ + "\\recorded.txt";
        DeleteFileA(recordLog_.c_str());
        SetEnvironmentVariableA("STLAG_RECORDER_LOG", recordLog_.c_str());
        for (const char* name : kTouchedKeys)
            saved_.push_back(ReadClassValue(name));
        // Every story starts with neither .htm nor .txt associated, as in a fresh prefix.
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".txt");
    }

    void TearDown() override
    {
        wizard_.reset();
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kRecorderClass);
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i].exists)
                WriteClassValue(kTouchedKeys[i], saved_[i].value);
            else
                RegDeleteTreeA(HKEY_CLASSES_ROOT, kTouchedKeys[i]);
        }
        SetEnvironmentVariableA("STLAG_RECORDER_LOG", nullptr);
    }

    // Points the extension at the recorder, started with open command command.
    void AssociateWithRecorder(const char* extension, const std::string& command)
    {
        WriteClassValue(extension, kRecorderClass);
        WriteClassValue(std::string(kRecorderClass) + "\\shell\\open\\command", command);
    }

    std::vector<std::string> Recorded() const
    {
        std::vector<std::string> lines;
        const std::string text = ReadFileText(recordLog_);
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    bool WaitForRecorded(std::size_t count) const
    {
        return WaitUntil([&] { return Recorded().size() >= count; }, 10000);
    }

    // A copy of the program in its own folder, with or without the read-me file beside it.
    std::string ProgramCopy(const std::string& folderName, bool withReadMe) const
    {
        const std::string folder = workFolder_ + "\\" + folderName;
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string copy = folder + "\\startlagaren.exe";
        EXPECT_TRUE(CopyFileA(program_.c_str(), copy.c_str(), FALSE));
        const std::string readMe = folder + "\\ReadMe.txt";
        if (withReadMe)
            EXPECT_TRUE(CopyFileA((FolderOf(program_) + "ReadMe.txt").c_str(), readMe.c_str(), FALSE));
        else
            DeleteFileA(readMe.c_str());
        return copy;
    }

    void StartWizard(const std::string& exe)
    {
        wizard_.reset(new WizardProcess);
        ASSERT_TRUE(wizard_->Start(exe));
        ASSERT_TRUE(WaitUntil([&] { return wizard_->PageItem(IDC_ABOUT_BUTTON) != nullptr; }));
    }

    HWND WaitForDialog(const std::string& caption, HWND other = nullptr) const
    {
        HWND found = nullptr;
        WaitUntil([&] {
            found = wizard_->FindDialog(caption);
            return found != nullptr && found != other;
        });
        return found != other ? found : nullptr;
    }

    HWND OpenAboutWithButton()
    {
        PostMessageA(wizard_->PageItem(IDC_ABOUT_BUTTON), BM_CLICK, 0, 0);
        return WaitForDialog(kAboutCaption);
    }

    bool WaitUntilClosed(HWND window) const
    {
        return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
    }

    // Closes a dialog as Esc would and waits for it to go.
    bool CloseDialog(HWND dialog) const
    {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return WaitUntilClosed(dialog);
    }

    // The texts of a message box's static controls that are not empty.
    static std::string MessageText(HWND box)
    {
        std::string text;
        for (const std::string& t : ChildTexts(box, "Static"))
            if (!t.empty())
                text += t;
        return text;
    }

    void Photograph(const std::string& name)
    {
        EXPECT_TRUE(wizard_->Screenshot(E2E_SCREENSHOT_DIR, story_ + "-" + std::to_string(++shots_) + "-" + name));
    }

    // The start page as it was: still the current page, Next only.
    void ExpectStartPageUnchanged() const
    {
        EXPECT_NE(wizard_->PageItem(IDC_ABOUT_BUTTON), nullptr);
        EXPECT_TRUE(IsWindowEnabled(wizard_->SheetButton(kNextButton)));
        EXPECT_FALSE(IsWindowEnabled(wizard_->SheetButton(kBackButton)));
        const HWND finish = wizard_->SheetButton(kFinishButton);
        EXPECT_TRUE(finish == nullptr || !IsWindowVisible(finish));
        EXPECT_EQ(wizard_->FindDialog(""), nullptr);
    }

    static constexpr const char* kRecorderClass = "StlagRecorder";
    static constexpr const char* kTouchedKeys[] = {".htm", ".txt"};

    std::string story_;
    int shots_ = 0;
    std::string program_;
    std::string recorder_;
    std::string workFolder_;
    std::string recordLog_;
    std::vector<ClassValue> saved_;
    std::unique_ptr<WizardProcess> wizard_;
};

TEST_F(LinkStory, AboutBoxFromTheStartPageButtonClosesBackToTheUnchangedPage)
{
    StartWizard(program_);
    for (int showing = 1; showing <= 2; ++showing) {
        const HWND about = OpenAboutWithButton();
        ASSERT_NE(about, nullptr);
        const std::vector<std::string> texts = ChildTexts(about, "Static");
        for (const char* expected : {"Startlagaren 1.21", "example.com/startlagaren", "startlagaren@example.com",
                                     "ReadMe-filen.", "F\xF6r mer information (hj\xE4lp och liknande) l\xE4s i "})
            EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
        Photograph("about");
        ASSERT_TRUE(CloseDialog(about));
        ExpectStartPageUnchanged();
    }
}

TEST_F(LinkStory, AboutBoxLinksAreFittedAndTheReadMeLinkEndsTheSentence)
{
    StartWizard(program_);
    const HWND about = OpenAboutWithButton();
    ASSERT_NE(about, nullptr);
    HWND sentence = nullptr;
    for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child).rfind("F\xF6r mer information", 0) == 0)
            sentence = child;
    ASSERT_NE(sentence, nullptr);
    const HWND readMe = GetDlgItem(about, IDC_README_LINK);
    RECT sentenceRect = {}, readMeRect = {}, webRect = {}, mailRect = {};
    GetWindowRect(sentence, &sentenceRect);
    GetWindowRect(readMe, &readMeRect);
    GetWindowRect(GetDlgItem(about, IDC_WEB_LINK), &webRect);
    GetWindowRect(GetDlgItem(about, IDC_MAIL_LINK), &mailRect);
    // The right-aligned sentence ends where the link begins, on the same line.
    EXPECT_EQ(readMeRect.left, sentenceRect.right);
    EXPECT_EQ(readMeRect.top, sentenceRect.top);
    // Fitted to their texts: the template's widths (80, 108 and 50 dialog units, the sentence
    // being 142) are gone, one line high.
    const double unit = (sentenceRect.right - sentenceRect.left) / 142.0;
    EXPECT_GT(std::abs((webRect.right - webRect.left) - 80 * unit), 2.0);
    EXPECT_LT(mailRect.right - mailRect.left, 108 * unit - 2);
    EXPECT_LT(readMeRect.right - readMeRect.left, 50 * unit - 2);
    EXPECT_EQ(readMeRect.bottom - readMeRect.top, webRect.bottom - webRect.top);
    EXPECT_LT(readMeRect.bottom - readMeRect.top, sentenceRect.bottom - sentenceRect.top + 2);
    // Unvisited links are blue.
    EXPECT_EQ(LinkTextColour(GetDlgItem(about, IDC_WEB_LINK)), RGB(0, 0, 255));
    EXPECT_EQ(LinkTextColour(readMe), RGB(0, 0, 255));
    EXPECT_TRUE(CloseDialog(about));
}

TEST_F(LinkStory, AboutBoxFromTheSystemMenuAndSystemCommandsStillWork)
{
    StartWizard(program_);
    // Alt+Space opens the system menu; its last entry is the About entry.
    TypeInto(wizard_->Sheet(), {VK_MENU, VK_SPACE});
    Sleep(500);
    TypeInto(wizard_->Sheet(), {VK_UP});
    TypeInto(wizard_->Sheet(), {VK_RETURN});
    HWND about = WaitForDialog(kAboutCaption);
    ASSERT_NE(about, nullptr);
    Photograph("about-from-system-menu");
    ASSERT_TRUE(CloseDialog(about));
    ExpectStartPageUnchanged();

    // The low four bits of a system command are the system's: 0x1F opens the box too.
    PostMessageA(wizard_->Sheet(), WM_SYSCOMMAND, 0x1F, 0);
    about = WaitForDialog(kAboutCaption);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(CloseDialog(about));
    ExpectStartPageUnchanged();

    // The system's own commands go on to the sheet: Close ends the wizard.
    PostMessageA(wizard_->Sheet(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(wizard_->WaitForExit());
}

TEST_F(LinkStory, WebLinkTheShellRefusesReachesTheHtmProgramWithTheFallbackCommandLine)
{
    AssociateWithRecorder(".htm", "\"" + recorder_ + "\" -x \"%1\"");
    StartWizard(program_);
    const HWND about = OpenAboutWithButton();
    ASSERT_NE(about, nullptr);
    const HWND web = GetDlgItem(about, IDC_WEB_LINK);
    EXPECT_EQ(LinkTextColour(web), RGB(0, 0, 255));
    ClickWithMouse(web);
    ASSERT_TRUE(WaitForRecorded(1));
    // The open command cut at its placeholder, one more blank, the target unquoted.
    EXPECT_EQ(Recorded()[0], "\"" + recorder_ + "\" -x  " + kWebTarget);
    EXPECT_EQ(LinkTextColour(web), RGB(0, 128, 128));  // focused
    Photograph("web-link-followed");
    PostMessageA(about, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(about, IDCANCEL)), TRUE);
    EXPECT_EQ(LinkTextColour(web), RGB(128, 0, 128));  // visited
    EXPECT_EQ(wizard_->FindDialog("Startlagaren"), nullptr);  // no error box

    // The space bar follows a focused link again.
    PostMessageA(about, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(web), TRUE);
    EXPECT_EQ(LinkTextColour(web), RGB(0, 128, 128));
    TypeInto(about, {VK_SPACE});
    ASSERT_TRUE(WaitForRecorded(2));
    EXPECT_EQ(Recorded()[1], Recorded()[0]);
    EXPECT_TRUE(IsWindowVisible(about));
    ASSERT_TRUE(CloseDialog(about));

    // A new showing starts with unvisited links.
    const HWND again = OpenAboutWithButton();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(LinkTextColour(GetDlgItem(again, IDC_WEB_LINK)), RGB(0, 0, 255));
    EXPECT_TRUE(CloseDialog(again));
}

TEST_F(LinkStory, ReadMeLinkInAFolderWithBlanksReachesTheHtmProgramQuoted)
{
    AssociateWithRecorder(".htm", "\"" + recorder_ + "\" \"%1\" -new");
    const std::string copy = ProgramCopy("Mapp med blank", true);
    StartWizard(copy);
    const HWND about = OpenAboutWithButton();
    ASSERT_NE(about, nullptr);
    // No program for .txt: the shell refuses the read-me file and the fallback takes it.
    ClickWithMouse(GetDlgItem(about, IDC_README_LINK));
    ASSERT_TRUE(WaitForRecorded(1));
    EXPECT_EQ(Recorded()[0], "\"" + recorder_ + "\"  \"" + Lower(FolderOf(copy)) + "readme.txt\"");
    EXPECT_TRUE(CloseDialog(about));
}

TEST_F(LinkStory, WithoutAnyAssociationTheErrorBoxShowsTheShellsText)
{
    StartWizard(program_);
    const HWND about = OpenAboutWithButton();
    ASSERT_NE(about, nullptr);
    const HWND web = GetDlgItem(about, IDC_WEB_LINK);
    ClickWithMouse(web);
    const HWND box = WaitForDialog("Startlagaren");
    ASSERT_NE(box, nullptr);
    // The shell's own answer for the same target in the same prefix.
    const int shellCode = static_cast<int>(
        reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", kWebTarget, nullptr, nullptr, SW_SHOW)));
    ASSERT_LE(shellCode, 32);
    const std::string text = MessageText(box);
    EXPECT_EQ(text.rfind("Can't open link:\n\n", 0), 0u) << text;
    EXPECT_EQ(text, LaunchErrorText(shellCode));
    Photograph("error-box");
    // The link holds the mouse while the pointer is over it; moving to the box frees it,
    // so the box's own button takes the click.
    ClickWithMouse(GetDlgItem(box, IDOK));
    ASSERT_TRUE(WaitUntilClosed(box));
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(Recorded().empty());
    // A failed launch leaves the link unvisited.
    PostMessageA(about, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(about, IDCANCEL)), TRUE);
    EXPECT_EQ(LinkTextColour(web), RGB(0, 0, 255));
    EXPECT_TRUE(CloseDialog(about));
}

TEST_F(LinkStory, HoveringOverTheWebLinkShowsItsFullTargetAsTooltip)
{
    StartWizard(program_);
    const HWND about = OpenAboutWithButton();
    ASSERT_NE(about, nullptr);
    const HWND web = GetDlgItem(about, IDC_WEB_LINK);
    std::string tip;
    SetForegroundWindow(about);
    // The pointer comes to rest over the link: the tooltip waits for it to stop moving.
    RECT r = {};
    GetWindowRect(web, &r);
    SetCursorPos(r.left + 3, (r.top + r.bottom) / 2);
    SetCursorPos(r.left + 6, (r.top + r.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND t = FindWindowA(TOOLTIPS_CLASSA, nullptr); t != nullptr;
             t = FindWindowExA(nullptr, t, TOOLTIPS_CLASSA, nullptr)) {
            if (IsWindowVisible(t)) {
                tip = WindowText(t);
                return true;
            }
        }
        return false;
    }, 10000));
    EXPECT_EQ(tip, kWebTarget);
    Photograph("tooltip");
    SetCursorPos(1000, 700);
    EXPECT_TRUE(CloseDialog(about));
}

TEST_F(LinkStory, F1AndHelpOpenTheReadMeFileBesideTheProgram)
{
    AssociateWithRecorder(".txt", "\"" + recorder_ + "\" \"%1\"");
    StartWizard(program_);
    const std::string opened = "\"" + recorder_ + "\" \"" + Lower(FolderOf(program_)) + "ReadMe.txt\"";

    TypeInto(wizard_->Sheet(), {VK_F1});
    ASSERT_TRUE(WaitForRecorded(1));
    EXPECT_EQ(Recorded()[0], opened);

    PostMessageA(wizard_->SheetButton(IDHELP), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForRecorded(2));
    EXPECT_EQ(Recorded()[1], opened);
    ExpectStartPageUnchanged();

    // F1 in the About box opens it once, from the box itself.
    const HWND about = OpenAboutWithButton();
    ASSERT_NE(about, nullptr);
    TypeInto(about, {VK_F1});
    ASSERT_TRUE(WaitForRecorded(3));
    Sleep(1000);
    EXPECT_EQ(Recorded().size(), 3u);
    EXPECT_EQ(Recorded()[2], opened);
    EXPECT_TRUE(CloseDialog(about));
    ExpectStartPageUnchanged();
}

TEST_F(LinkStory, MissingReadMeFileIsReportedByTheWizardButNotByTheAboutBox)
{
    AssociateWithRecorder(".txt", "\"" + recorder_ + "\" \"%1\"");
    StartWizard(ProgramCopy("Utan ReadMe", false));

    for (int way = 0; way < 2; ++way) {
        if (way == 0)
            TypeInto(wizard_->Sheet(), {VK_F1});
        else
            PostMessageA(wizard_->SheetButton(IDHELP), BM_CLICK, 0, 0);
        const HWND box = WaitForDialog("Startlagaren");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageText(box), kReadMeMissing);
        Photograph(way == 0 ? "f1-missing-readme" : "help-missing-readme");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntilClosed(box));
        ExpectStartPageUnchanged();
    }

    const HWND about = OpenAboutWithButton();
    ASSERT_NE(about, nullptr);
    TypeInto(about, {VK_F1});
    Sleep(1500);
    EXPECT_EQ(wizard_->FindDialog("Startlagaren"), nullptr);
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(CloseDialog(about));
    EXPECT_TRUE(Recorded().empty());
}

}  // namespace
}  // namespace stlag
