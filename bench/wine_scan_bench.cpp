// The scan of one key with 20,000 values on the real registry, against a yardstick in the
// same process: one RegEnumValueW per value with its ANSI conversion, plus the file tests
// the rules ask of a dead line before it may go. Run under Wine; prints both and the ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "live_engine.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const int kValues = 20000;
const int kFaultyEvery = 50;  // as on a machine that has the problem once
const int kRounds = 5;
const wchar_t kFaulty[] = L"C:\\Program Files\\Nowhere\\updater.exe -silent";
// What a dead line must be asked before it may go: its program, whether its first blank lies
// in a folder's name, and the whole line as a file's name.
const char* const kDueTests[] = {"C:\\Program Files\\Nowhere\\updater.exe", "C:\\Program Files",
                                 "C:\\Program Files\\Nowhere\\updater.exe -silent"};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Seed()
{
    const wchar_t* const fine[] = {L"\"C:\\Program Files\\Foo\\foo.exe\" /background",
                                   L"C:\\WINDOWS\\system32\\ctfmon.exe"};
    RegDeleteTreeW(HKEY_CURRENT_USER, kRunKey);
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    for (int i = 0; i < kValues; ++i) {
        const std::wstring name = L"value " + std::to_wstring(i);
        const wchar_t* data = i % kFaultyEvery == 0 ? kFaulty : fine[i % 2];
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                       static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
}

// The least a scan must do: read each value once, convert it, test the faulty ones' programs.
std::size_t Yardstick()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    std::size_t bytes = 0;
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(2048);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        bool inCodePage = true;
        const std::string ansiName = stlag::WideToAnsi(name.data(), nameLength, inCodePage);
        const auto* units = reinterpret_cast<const wchar_t*>(data.data());
        const std::string ansi = stlag::WideToAnsi(units, size / sizeof(wchar_t), inCodePage);
        bytes += ansiName.size() + ansi.size();
        if (index % kFaultyEvery == 0) {
            for (const char* path : kDueTests)
                bytes += GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ? 0 : 1;
        }
    }
    RegCloseKey(key);
    return bytes;
}

}  // namespace

int main()
{
    stlag::LiveEngine engine;
    Seed();
    const int expected = (kValues + kFaultyEvery - 1) / kFaultyEvery;
    std::printf("%d values in HKEY_CURRENT_USER\\...\\Run, one in %d faulty, best of %d rounds\n", kValues,
                kFaultyEvery, kRounds);
    double yardstick = 1e9;
    double scan = 1e9;
    // Interleaved rounds, best of each, so a busy moment hurts neither side alone.
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        const std::size_t bytes = Yardstick();
        QueryPerformanceCounter(&t1);
        const int found = static_cast<int>(engine.Scan().findings.size());
        QueryPerformanceCounter(&t2);
        if (bytes == 0 || found != expected) {
            std::printf("unexpected: %u bytes read, %d findings\n", static_cast<unsigned>(bytes), found);
            return 1;
        }
        yardstick = std::min(yardstick, Seconds(t0, t1));
        scan = std::min(scan, Seconds(t1, t2));
    }
    std::printf("yardstick (RegEnumValueW + conversion + file tests) %.1f ms, scan %.1f ms, ratio %.2f\n",
                yardstick * 1000, scan * 1000, scan / yardstick);
    RegDeleteTreeW(HKEY_CURRENT_USER, kRunKey);
    return 0;
}
