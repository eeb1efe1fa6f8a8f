#include "launch_command.h"

#include <cstdio>

#include "ansi_text.h"

namespace stlag {

std::string TargetArgument(const std::string& target)
{
    if (target.find_first_of(" \t") == std::string::npos)
        return target;
    if (target.size() >= 2 && target.front() == '"' && target.back() == '"')
        return target;
    // Backslashes right before the closing quote are doubled, or the program's argument
    // parser would read the last one as escaping the quote.
    std::size_t trailing = 0;
    while (trailing < target.size() && target[target.size() - 1 - trailing] == '\\')
        ++trailing;
    return "\"" + target + std::string(trailing, '\\') + "\"";
}

bool BuildFallbackCommand(const std::string& openCommand, const std::string& target, const CodePage& codePage,
                          std::string& commandLine)
{
    std::size_t placeholder = FindText(openCommand, "\"%1\"", codePage);
    if (placeholder == std::string::npos)
        placeholder = FindText(openCommand, "%1", codePage);
    std::string built = openCommand.substr(0, placeholder);
    built += ' ';
    built += TargetArgument(target);
    if (built.size() >= kCommandBufferSize)
        return false;
    commandLine = built;
    return true;
}

std::string LaunchErrorText(int code)
{
    const char* message = nullptr;
    switch (code) {
    case 0: message = "The operating system is out\nof memory or resources."; break;
    case 2: message = "The specified file was not found."; break;
    case 3: message = "The specified path was not found."; break;
    case 5: message = "The operating system denied\naccess to the specified file."; break;
    case 8: message = "There was not enough memory to complete the operation."; break;
    case 11: message = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
    case kCommandTooLong: message = "The command line for the link is too long\nto be started."; break;
    case 26: message = "A sharing violation occurred. "; break;
    case 27: message = "The filename association is\nincomplete or invalid."; break;
    case 28: message = "The DDE transaction could not\nbe completed because the request timed out."; break;
    case 29: message = "The DDE transaction failed."; break;
    case 30:
        message = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
        break;
    case 31: message = "There is no application associated\nwith the given filename extension."; break;
    case 32: message = "The specified dynamic-link library was not found."; break;
    default: break;
    }
    std::string text = "Can't open link:\n\n";
    if (message != nullptr) {
        text += message;
    } else {
        char unknown[48];
        std::snprintf(unknown, sizeof unknown, "Unknown Error (%d) occurred.", code);
        text += unknown;
    }
    return text;
}

}  // namespace stlag
