// Stands in for the program of a file type or of web pages: it only notes how it was
// started, one line in link_recorder.log beside itself, for the wizard tests to read.
#include <windows.h>

#include <cstring>
#include <fstream>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::ofstream(std::string(_pgmptr, std::strlen(_pgmptr) - 3) + "log", std::ios::app) << GetCommandLineA() << '\n';
    return 0;
}
