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

void Write(StdStream stream, const std::string& text, UINT codePage)
{
    FILE* file = stream == StdStream::Out ? stdout : stderr;
    const HANDLE handle = GetStdHandle(stream == StdStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        WriteToConsole(handle, AnsiToWide(text, codePage));
        return;
    }
    // No translation by the runtime: CR LF stays CR LF.
    _setmode(_fileno(file), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
}

}  // namespace

void WriteAnsi(StdStream stream, const std::string& text)
{
    Write(stream, text, CP_ACP);
}

void WriteUtf8(StdStream stream, const std::string& text)
{
    Write(stream, text, CP_UTF8);
}

}  // namespace stlag
