#include "text_format.h"

#include <gtest/gtest.h>

#include "rc_texts.h"
#include "resource.h"

namespace stlag {
namespace {

TEST(FormatText, ArgumentsAreNeverReadAsDirectives)
{
    EXPECT_EQ("a %s %d %n %% b", FormatText("a %s b", {"%s %d %n %%"}));
    EXPECT_EQ("2 problem av 3 har lagats.", FormatText("%d problem av %d har lagats.", {2, 3}));
    EXPECT_EQ("100% %s", FormatText("100%% %s", {}));
    EXPECT_EQ("end %", FormatText("end %", {}));
}

TEST(StringTable, HoldsTheProgramTextsInCodePage1252)
{
    RcTexts texts;
    EXPECT_EQ("Startlagaren", texts.Load(IDS_APP_TITLE));
    EXPECT_EQ("\tOK\r\n", texts.Load(IDS_LOG_OK));
    EXPECT_EQ("S\xF6kv\xE4g: %s\\Software\\Microsoft\\Windows\\CurrentVersion\\%s\r\n", texts.Load(IDS_LOG_KEY_HEADER));
    EXPECT_EQ("Registerfil|*.reg|Alla filer (*.*)|*.*||", texts.Load(IDS_SAVE_FILTER));
    EXPECT_EQ("", texts.Load(12345));
    EXPECT_THROW(Utf8ToCp1252("\xC5\x81"), std::runtime_error);  // Ł is not in 1252
}

}  // namespace
}  // namespace stlag
