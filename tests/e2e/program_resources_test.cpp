// The resources that only show on a real desktop, read back from startlagaren.exe: icon
// formats, the version, and the manifest that asks for common controls 6 and the
// highest rights available.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resource.h"

namespace stlag {
namespace {

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExA(STARTLAGAREN_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module_);
    }
    void TearDown() override { FreeLibrary(module_); }

    HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, IconsVersionAndManifest)
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
