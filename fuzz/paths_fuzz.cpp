// Path pieces for the save dialog and a typed backup name (UTF-8), and the link launcher's
// fallback command line under a single- and a double-byte code page: never more than its
// buffer holds, never a cut inside a double-byte character.
#include "backup_name.h"
#include "fakes.h"
#include "launch_command.h"
#include "program_folder.h"

static void Require(bool condition) { if (!condition) __builtin_trap(); }

// The first character start at or past `until`, or holding c; walked by the fake page's lead
// bytes, not the engine's. A lead byte that ends the text stands alone.
static std::size_t Walk(const std::string& text, std::size_t until, char c, const stlag::CodePage& page)
{
    std::size_t i = 0;
    while (i < until && text[i] != c)
        i += page.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    return i;
}

// The input up to a NUL is a path, and split at its first 0xFF an open command and a target:
// texts from edit controls and the registry end at a NUL.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string path = std::string(reinterpret_cast<const char*>(bytes), size).c_str();
    const std::size_t split = path.find('\xFF');
    const std::string open = path.substr(0, split), target = split == std::string::npos ? "" : path.substr(split + 1);
    for (const bool doubleByte : {false, true}) {
        const stlag::FakeCodePage page(doubleByte);
        const auto boundary = [&page](const std::string& s, std::size_t pos) { return Walk(s, pos, 0, page) == pos; };
        const std::string folder = stlag::GetFolderPart(path), name = stlag::GetFileNamePart(path);
        const std::size_t cut = folder == path && name == path ? 0 : folder.size();
        Require(name.find('\\') == std::string::npos &&
                (cut == 0 ? path.find_first_of("\\/") == std::string::npos : folder + name == path));
        Require(cut == 0 || path[cut - 1] == '\\' || (path[cut - 1] == '/' && path.find('\\') == std::string::npos));
        // A completed name is the typed one, or put in the folder, and ends in ".reg" but when there is none.
        const std::string completed = stlag::CompleteBackupName(path, "C:\\Desk");
        Require(completed.find(path.substr(std::min(path.find_first_not_of("\\/"), path.size()))) != std::string::npos &&
                (completed == path || completed.size() >= 4));
        // What stood before the placeholder, a blank, the target as one argument; untouched when too long.
        std::string command = "\x01untouched", argument = stlag::TargetArgument(target);
        const bool built = stlag::BuildFallbackCommand(open, target, page, command);
        const std::size_t end = command.size() - argument.size() - 1;
        Require(built ? command.size() < stlag::kCommandBufferSize && command.size() > argument.size() &&
                            command.compare(0, end, open, 0, end) == 0 && boundary(open, end) &&
                            command.compare(end, std::string::npos, " " + argument) == 0
                      : command == "\x01untouched" && open.size() + 1 + argument.size() >= stlag::kCommandBufferSize);
        Require(!built || end == open.size() || open.compare(end, 2, "%1") == 0 || open.compare(end, 4, "\"%1\"") == 0);
    }
    return 0;
}
