// Stands in for the program of a file type or of web pages: it only notes how it was
// started, one line in link_recorder.exe.log beside itself, for the wizard tests to read.
#include <windows.h>

#include <fstream>

int main()
{
    std::ofstream(std::string(_pgmptr) + ".log", std::ios::app) << GetCommandLineA() << '\n';
}
