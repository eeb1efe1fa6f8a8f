// The save dialog's path pieces and the link launcher's fallback command line: never more
// than their buffers hold, and the pieces of a path give the path back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "backup_name.h"
#include "fakes.h"
#include "launch_command.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckPathPieces(const std::string& path)
{
    const std::string folder = stlag::GetFolderPart(path);
    const std::string name = stlag::GetFileNamePart(path);
    if (path.find_first_of("\\/") == std::string::npos)
        Require(folder == path && name == path);
    else
        Require(folder + name == path);

    const std::size_t bufferSize = 260;
    const std::vector<char> buffer = stlag::SaveDialogFileBuffer(path, bufferSize);
    Require(buffer.size() == bufferSize);
    const std::string held(buffer.data());  // stops at the NUL the buffer must hold
    Require(held.size() < bufferSize);
    Require(held == (name.size() < bufferSize ? name : std::string()));
}

void CheckFallbackCommand(const std::string& openCommand, const std::string& target, const stlag::CodePage& codePage)
{
    std::string commandLine = "\x01untouched";
    if (!stlag::BuildFallbackCommand(openCommand, target, codePage, commandLine)) {
        Require(commandLine == "\x01untouched");
        return;
    }
    Require(commandLine.size() < stlag::kCommandBufferSize);
    // What stood before the placeholder, one blank, the target as one argument.
    const std::string argument = stlag::TargetArgument(target);
    Require(commandLine.size() >= argument.size() + 1);
    const std::size_t cut = commandLine.size() - argument.size() - 1;
    Require(openCommand.compare(0, cut, commandLine, 0, cut) == 0);
    Require(commandLine.compare(cut, std::string::npos, " " + argument) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string rest(reinterpret_cast<const char*>(bytes + 1), size - 1);
    // A path comes from an edit control: text, without NUL bytes.
    std::string path = rest;
    path.erase(std::remove(path.begin(), path.end(), '\0'), path.end());
    CheckPathPieces(path);
    // The open command and the target are split at the first 0xFF byte.
    const std::size_t split = rest.find('\xFF');
    const std::string openCommand = rest.substr(0, split);
    const std::string target = split == std::string::npos ? std::string() : rest.substr(split + 1);
    stlag::SingleByteCodePage singleByte;
    stlag::ShiftJisCodePage doubleByte;
    if (bytes[0] & 1)
        CheckFallbackCommand(openCommand, target, doubleByte);
    else
        CheckFallbackCommand(openCommand, target, singleByte);
    return 0;
}
