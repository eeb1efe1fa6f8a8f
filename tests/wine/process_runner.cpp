#include "process_runner.h"

#include <windows.h>

#include <thread>
#include <vector>

namespace stlag {

namespace {
void Drain(HANDLE pipe, std::string& into)
{
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0)
        into.append(buffer, read);
}
}  // namespace

ProcessResult RunProcess(const std::string& commandLine, unsigned long timeoutMs)
{
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0))
        return result;
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    result.started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                    &process) != 0;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (result.started) {
        std::thread errReader([&] { Drain(errRead, result.err); });
        Drain(outRead, result.out);
        errReader.join();
        WaitForSingleObject(process.hProcess, timeoutMs);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = code;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

}  // namespace stlag
