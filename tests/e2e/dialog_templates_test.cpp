// The dialog templates compiled into startlagaren.exe, read back from the program file:
// styles, fonts, sizes, captions, and each control's id, class, text, place and style.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "rc_texts.h"
#include "resource.h"

namespace stlag {
namespace {

struct Control {
    unsigned id;
    std::string className;
    std::string text;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
};

struct Template {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    int cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0;
    std::string font;
    std::vector<Control> controls;
};

// Reads a template's words, strings and ordinals in order.
class TemplateReader {
public:
    explicit TemplateReader(const std::uint8_t* at) : at_(at) {}
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return static_cast<short>(Take<WORD>()); }
    std::string String()
    {
        std::wstring wide;
        for (WORD c = Word(); c != 0; c = Word())
            wide += static_cast<wchar_t>(c);
        return Ansi(wide);
    }
    // A class or a text given either as a string or as 0xFFFF and an ordinal.
    std::string StringOrOrdinal(bool isClass)
    {
        const WORD first = *reinterpret_cast<const WORD*>(at_);
        if (first != 0xFFFF)
            return String();
        Word();
        const WORD ordinal = Word();
        static const char* const classes[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
        if (isClass && ordinal >= 0x80 && ordinal <= 0x85)
            return classes[ordinal - 0x80];
        return "#" + std::to_string(ordinal);
    }
    void AlignToDword(const std::uint8_t* base)
    {
        while ((at_ - base) % 4 != 0)
            ++at_;
    }
    void Skip(std::size_t bytes) { at_ += bytes; }
    const std::uint8_t* At() const { return at_; }

private:
    template <typename T> T Take()
    {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    static std::string Ansi(const std::wstring& wide)
    {
        if (wide.empty())
            return std::string();
        const int n = WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n, nullptr, nullptr);
        return text;
    }
    const std::uint8_t* at_;
};

Template ReadTemplate(HMODULE module, unsigned id)
{
    Template t;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (found == nullptr)
        return t;
    const auto* base = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    TemplateReader r(base);
    t.extended = reinterpret_cast<const WORD*>(base)[1] == 0xFFFF;
    WORD count = 0;
    if (t.extended) {
        r.Word();
        r.Word();
        r.Dword();  // help id
        t.exStyle = r.Dword();
        t.style = r.Dword();
    } else {
        t.style = r.Dword();
        t.exStyle = r.Dword();
    }
    count = r.Word();
    r.Short();
    r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    r.StringOrOrdinal(false);  // menu
    r.StringOrOrdinal(true);   // class
    t.caption = r.String();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        if (t.extended) {
            r.Word();  // weight
            r.Skip(2); // italic, character set
        }
        t.font = r.String();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignToDword(base);
        Control c = {};
        if (t.extended) {
            r.Dword();  // help id
            c.exStyle = r.Dword();
            c.style = r.Dword();
        } else {
            c.style = r.Dword();
            c.exStyle = r.Dword();
        }
        c.x = r.Short();
        c.y = r.Short();
        c.cx = r.Short();
        c.cy = r.Short();
        c.id = t.extended ? r.Dword() : r.Word();
        c.className = r.StringOrOrdinal(true);
        c.text = r.StringOrOrdinal(false);
        r.Skip(r.Word());  // creation data
        t.controls.push_back(c);
    }
    return t;
}

class DialogTemplates : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExA(STARTLAGAREN_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module_);
    }
    void TearDown() override { FreeLibrary(module_); }

    static void ExpectControl(const Control& actual, unsigned id, const char* className, const std::string& text,
                              int x, int y, int cx, int cy)
    {
        EXPECT_EQ(id, actual.id);
        EXPECT_STRCASEEQ(className, actual.className.c_str()) << id;
        EXPECT_EQ(text, actual.text) << id;
        EXPECT_EQ(x, actual.x) << id;
        EXPECT_EQ(y, actual.y) << id;
        EXPECT_EQ(cx, actual.cx) << id;
        EXPECT_EQ(cy, actual.cy) << id;
    }

    static void ExpectPageFrame(const Template& t, int cx, const std::string& caption)
    {
        EXPECT_EQ(0x48C00040u, t.style);
        EXPECT_EQ(cx, t.cx);
        EXPECT_EQ(146, t.cy);
        EXPECT_EQ(caption, t.caption);
        EXPECT_EQ(8, t.pointSize);
        EXPECT_EQ("MS Sans Serif", t.font);
    }

    HMODULE module_ = nullptr;
};

constexpr unsigned kNoId = 0xFFFF;

TEST_F(DialogTemplates, StartPage106)
{
    const Template t = ReadTemplate(module_, IDD_PAGE1);
    EXPECT_FALSE(t.extended);
    ExpectPageFrame(t, 293, Ansi("Startlagaren - Sök fel"));
    ASSERT_EQ(3u, t.controls.size());
    ExpectControl(t.controls[0], kNoId, "Static",
                  Ansi("Startlagaren löser problemen med att programmappen eller systemmappen öppnas när du startar "
                       "datorn. Programmet söker först efter fel och sedan lagas dessa.\r\n\r\nKlicka på nästa för att "
                       "söka efter fel."),
                  2, 2, 289, 49);
    EXPECT_EQ(0x50020000u, t.controls[0].style);
    ExpectControl(t.controls[1], kNoId, "Static", Ansi("Om du vill veta vad problemet beror på, klicka på Hjälp."), 2, 134,
                  196, 8);
    EXPECT_EQ(0x50020000u, t.controls[1].style);
    ExpectControl(t.controls[2], IDC_ABOUT_BUTTON, "Button", "&Om...", 226, 130, 66, 14);
    EXPECT_EQ(0x50010000u, t.controls[2].style);
}

TEST_F(DialogTemplates, RepairPage132)
{
    const Template t = ReadTemplate(module_, IDD_PAGE2);
    ExpectPageFrame(t, 293, "Startlagaren - Laga fel");
    ASSERT_EQ(8u, t.controls.size());
    const auto& c = t.controls;
    ExpectControl(c[0], IDC_FOUND_TEXT, "Static", "", 2, 2, 289, 25);
    EXPECT_TRUE(c[0].exStyle & WS_EX_TRANSPARENT);
    ExpectControl(c[1], IDC_ADVANCED_CHECK, "Button", Ansi("A&vancerat läge"), 2, 30, 149, 10);
    EXPECT_EQ(static_cast<DWORD>(BS_AUTOCHECKBOX), c[1].style & 0x0F);
    ExpectControl(c[2], IDC_BACKUP_LABEL, "Static", "&Backupfil:", 2, 46, 38, 8);
    ExpectControl(c[3], IDC_BACKUP_EDIT, "Edit", "", 40, 44, 228, 14);
    EXPECT_EQ(static_cast<DWORD>(WS_BORDER | ES_AUTOHSCROLL), c[3].style & (WS_BORDER | ES_AUTOHSCROLL));
    ExpectControl(c[4], IDC_BROWSE_BUTTON, "Button", "&...", 274, 44, 17, 14);
    ExpectControl(c[5], IDC_FINDING_LIST, "SysListView32", "", 2, 65, 289, 61);
    EXPECT_EQ(static_cast<DWORD>(LVS_REPORT | LVS_NOSORTHEADER | WS_BORDER),
              c[5].style & (LVS_TYPEMASK | LVS_NOSORTHEADER | WS_BORDER));
    ExpectControl(c[6], IDC_UNTICK_NOTE, "Static", Ansi("De som du avmarkerar kommer inte att ändras."), 2, 132, 193, 8);
    ExpectControl(c[7], IDC_LOG_BUTTON, "Button", Ansi("Felsöknings&logg..."), 226, 130, 66, 14);
    for (const Control& control : c)
        EXPECT_TRUE(control.style & WS_VISIBLE) << control.id;
}

TEST_F(DialogTemplates, FinishPage133)
{
    const Template t = ReadTemplate(module_, IDD_PAGE3);
    EXPECT_TRUE(t.extended);
    ExpectPageFrame(t, 294, "Startlagaren - Klar");
    ASSERT_EQ(2u, t.controls.size());
    ExpectControl(t.controls[0], IDC_OUTCOME_EDIT, "Edit", "", 2, 2, 290, 125);
    EXPECT_EQ(0x50210804u, t.controls[0].style);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_STATICEDGE), t.controls[0].exStyle);
    ExpectControl(t.controls[1], IDC_LOG_BUTTON, "Button", Ansi("Felsöknings&logg..."), 226, 130, 66, 14);
    EXPECT_EQ(0x50010000u, t.controls[1].style);
}

TEST_F(DialogTemplates, LogWindow136)
{
    const Template t = ReadTemplate(module_, IDD_LOG);
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(0x80C800C0u, t.style);
    EXPECT_EQ(347, t.cx);
    EXPECT_EQ(146, t.cy);
    EXPECT_EQ(Ansi("Felsökningslogg"), t.caption);
    EXPECT_EQ(8, t.pointSize);
    EXPECT_EQ("MS Sans Serif", t.font);
    ASSERT_EQ(3u, t.controls.size());
    ExpectControl(t.controls[0], IDOK, "Button", "OK", 291, 126, 50, 14);
    EXPECT_EQ(0x50010001u, t.controls[0].style);
    ExpectControl(t.controls[1], IDC_LOG_EDIT, "Edit", "", 6, 6, 335, 118);
    EXPECT_EQ(0x50B10804u, t.controls[1].style);
    ExpectControl(t.controls[2], IDC_COPY_BUTTON, "Button", "&Kopiera", 236, 126, 50, 14);
    EXPECT_EQ(0x50010000u, t.controls[2].style);
}

TEST_F(DialogTemplates, IconsVersionAndManifest)
{
    HRSRC colour = FindResourceA(module_, MAKEINTRESOURCEA(IDI_APP), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(nullptr, colour);
    const auto* group = static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, colour)));
    const WORD images = reinterpret_cast<const WORD*>(group)[2];
    ASSERT_EQ(2, images);
    std::vector<int> sizes;
    for (WORD i = 0; i < images; ++i) {
        const std::uint8_t* entry = group + 6 + 14 * i;  // GRPICONDIRENTRY
        sizes.push_back(entry[0]);
        EXPECT_EQ(16, entry[2]) << "colours";
        EXPECT_EQ(4, reinterpret_cast<const WORD*>(entry + 6)[0]) << "bits per pixel";
    }
    EXPECT_EQ((std::vector<int>{32, 16}), sizes);

    HRSRC mono = FindResourceA(module_, MAKEINTRESOURCEA(IDI_APP_MONO), MAKEINTRESOURCEA(14));
    ASSERT_NE(nullptr, mono);
    const auto* monoGroup = static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, mono)));
    ASSERT_EQ(1, reinterpret_cast<const WORD*>(monoGroup)[2]);
    EXPECT_EQ(32, monoGroup[6]);
    EXPECT_EQ(1, reinterpret_cast<const WORD*>(monoGroup + 6 + 6)[0]) << "bits per pixel";

    HRSRC version = FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    ASSERT_NE(nullptr, version);
    const void* block = LockResource(LoadResource(module_, version));
    std::vector<std::uint8_t> copy(static_cast<const std::uint8_t*>(block),
                                   static_cast<const std::uint8_t*>(block) + SizeofResource(module_, version));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(copy.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(MAKELONG(21, 1), fixed->dwFileVersionMS);

    HRSRC manifest = FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(nullptr, manifest);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module_, manifest))),
                           SizeofResource(module_, manifest));
    EXPECT_NE(std::string::npos, text.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, text.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, text.find("level=\"highestAvailable\""));
}

}  // namespace
}  // namespace stlag
