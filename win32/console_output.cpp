#include "console_output.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include "win32_platform.h"

namespace stlag {

namespace {

// Older consoles refuse large writes.
constexpr std::size_t kConsoleChunk = 8192;

void WriteToConsole(HANDLE console, const std::wstring& text)
{
    for (std::size_t done = 0; done < text.size();) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min(kConsoleChunk, text.size() - done));
        if (!WriteConsoleW(console, text.data() + done, chunk, &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

// The stream's console, or null when it goes to a file or a pipe.
HANDLE Console(StdStream stream)
{
    const HANDLE handle = GetStdHandle(stream == StdStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

void ToFile(StdStream stream, const std::string& bytes)
{
    FILE* file = stream == StdStream::Out ? stdout : stderr;
    // No translation by the runtime: CR LF stays CR LF.
    _setmode(_fileno(file), _O_BINARY);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fflush(file);
}

}  // namespace

void WriteAnsi(StdStream stream, const std::string& text)
{
    if (const HANDLE console = Console(stream))
        WriteToConsole(console, AnsiToWide(text));
    else
        ToFile(stream, text);
}

void WriteUtf8(StdStream stream, const std::string& text)
{
    if (const HANDLE console = Console(stream))
        WriteToConsole(console, Utf8ToWide(text));
    else
        ToFile(stream, text);
}

void WriteText(StdStream stream, const std::wstring& text)
{
    bool whole = true;
    if (const HANDLE console = Console(stream))
        WriteToConsole(console, text);
    else
        ToFile(stream, WideToAnsi(text.data(), text.size(), whole));
}

}  // namespace stlag
