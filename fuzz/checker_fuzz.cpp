// Any command line, under a single- and a double-byte code page: an ok verdict touches
// nothing; a faulty one proposes deletion, the trimmed line, or an existing program quoted
// at whole characters.
#include "command_line_checker.h"
#include "fakes.h"

static void Require(bool condition) { if (!condition) __builtin_trap(); }

// Walked by the fake page's lead bytes, not the engine's; a lead byte ending the text stands alone.
static bool AtBoundary(const std::string& text, std::size_t pos, const stlag::CodePage& page)
{
    std::size_t i = 0;
    for (; i < pos; i += page.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1) {}
    return i == pos;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string data(reinterpret_cast<const char*>(bytes), size), blanks = " \t\n\v\f\r";
    const std::size_t first = data.find_first_not_of(blanks), npos = std::string::npos;
    stlag::MemoryFileSystem files;
    files.files = {{"c:\\program files\\foo\\foo.exe", ""}, {"c:\\my files\\x.exe", ""}, {"c:\\a b\\\x81.exe", ""}};
    for (const bool doubleByte : {false, true}) {
        const stlag::FakeCodePage page(doubleByte);
        const stlag::CommandLineChecker checker(files, page);
        std::string newData = "\x01untouched", again;
        const bool ok = checker.CheckCommandLine(data, newData);
        // Blanks only around the trimmed line, and its last character no blank (a trail byte is none).
        const std::size_t end = first + newData.size(), k = newData.find('"', 1) - 1;
        const bool trimmed = newData != data && first != npos && data.compare(first, newData.size(), newData) == 0 &&
                             data.find_first_not_of(blanks, end) == npos && AtBoundary(data, end, page) &&
                             !(blanks.find(newData.back()) != npos && AtBoundary(newData, newData.size() - 1, page));
        // No existing program holds a quote, and each ends in a whole ".exe".
        const bool quoted = k <= data.size() && newData == '"' + data.substr(0, k) + '"' + data.substr(k) &&
                            files.FileExists(data.substr(0, k)) && AtBoundary(data, k - 4, page);
        Require(ok ? newData == "\x01untouched" : newData.empty() || trimmed || quoted);
        Require(!quoted || checker.CheckCommandLine(newData, again));  // the repair needs none itself
    }
    return 0;
}
