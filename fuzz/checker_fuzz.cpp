// Any command line, any answer of the file test, single- or double-byte code page:
// the checker never reads past its input and only ever proposes one of three repairs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ansi_text.h"
#include "command_line_checker.h"
#include "fakes.h"

namespace {

class AnswerFileSystem : public stlag::MemoryFileSystem {
public:
    explicit AnswerFileSystem(bool answer) : answer_(answer) {}
    bool FileExists(const std::string&) const override { return answer_; }

private:
    bool answer_;
};

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool exists = (bytes[0] & 1) != 0;
    stlag::SingleByteCodePage singleByte;
    stlag::ShiftJisCodePage doubleByte;
    const stlag::CodePage& codePage =
        (bytes[0] & 2) != 0 ? static_cast<const stlag::CodePage&>(doubleByte) : singleByte;
    // An exact-size heap copy, so any read past the data is caught.
    const std::string data(reinterpret_cast<const char*>(bytes + 1), size - 1);

    AnswerFileSystem files(exists);
    stlag::CommandLineChecker checker(files, codePage);
    const std::string sentinel = "\x01untouched";
    std::string newData = sentinel;
    if (checker.CheckCommandLine(data, newData)) {
        Require(newData == sentinel);
        return 0;
    }
    const std::string trimmed = stlag::TrimWhiteSpace(data, codePage);
    if (newData.empty())
        return 0;
    if (trimmed != data) {
        Require(newData == trimmed);
        return 0;
    }
    // Quoted: a prefix of the data in quotes, then the rest of the data unchanged.
    Require(exists);
    Require(newData.size() == data.size() + 2 && newData[0] == '"');
    // The program path may itself hold quotes: find a split that fits.
    bool split = false;
    for (std::size_t k = 1; k <= data.size() && !split; ++k) {
        split = newData[k + 1] == '"' && newData.compare(1, k, data, 0, k) == 0 &&
                newData.compare(k + 2, std::string::npos, data, k, std::string::npos) == 0;
    }
    Require(split);
    // A quoted command line is fine as it stands.
    std::string again;
    Require(checker.CheckCommandLine(newData, again));
    return 0;
}
