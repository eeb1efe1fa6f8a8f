// The link launcher's text work: the fallback command line built from the open command
// of the .htm class, and the English texts of its error box.
#ifndef STLAG_LAUNCH_COMMAND_H
#define STLAG_LAUNCH_COMMAND_H

#include <cstddef>
#include <string>

#include "platform.h"

namespace stlag {

// The launcher's command buffer, terminator included.
constexpr std::size_t kCommandBufferSize = 520;

// Result of a launch whose command line would not fit the command buffer. It is the
// system's ERROR_BAD_LENGTH, a code that no shell failure in the error table uses.
constexpr int kCommandTooLong = 24;

// The open command cut at its "%1" placeholder (the quoted one first), a blank and the
// target. False, with commandLine untouched, when the result would not fit the buffer.
bool BuildFallbackCommand(const std::string& openCommand, const std::string& target, const CodePage& codePage,
                          std::string& commandLine);

// The target as one argument: in double quotes when it holds a blank or a tab.
std::string TargetArgument(const std::string& target);

// The whole text of the error box for a launch result of 32 or less.
std::string LaunchErrorText(int code);

}  // namespace stlag

#endif
