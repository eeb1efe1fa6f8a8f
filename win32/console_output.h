// Standard output and standard error. On a console the text is shown through UTF-16, so
// that Swedish letters come out right whatever the console's code page; to a file or a
// pipe its bytes go as they are.
#ifndef STLAG_CONSOLE_OUTPUT_H
#define STLAG_CONSOLE_OUTPUT_H

#include <string>

namespace stlag {

enum class StdStream { Out, Error };

void WriteAnsi(StdStream stream, const std::string& text);
void WriteUtf8(StdStream stream, const std::string& text);
// Shown whole on a console; to a file or a pipe in the ANSI code page, '?' for what it lacks.
void WriteText(StdStream stream, const std::wstring& text);

}  // namespace stlag

#endif
