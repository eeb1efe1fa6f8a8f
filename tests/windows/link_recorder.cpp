// Stands in for the program of a file type or of web pages: it only notes how it was
// started and by which process, one line in link_recorder.exe.log beside itself, for the
// wizard tests to read.
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>

int main()
{
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    const HANDLE processes = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    for (BOOL more = Process32First(processes, &entry); more && entry.th32ProcessID != GetCurrentProcessId();)
        more = Process32Next(processes, &entry);
    CloseHandle(processes);
    std::ofstream(std::string(_pgmptr) + ".log", std::ios::app)
        << '[' << entry.th32ParentProcessID << "] " << GetCommandLineA() << '\n';
}
