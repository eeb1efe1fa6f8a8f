// What the repair tests under Wine share: awkward seed values, a snapshot of the seven
// keys in the system's own UTF-16 bytes, the backup file, and regedit to import it.
#ifndef STLAG_REPAIR_FIXTURE_H
#define STLAG_REPAIR_FIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "process_runner.h"
#include "rc_texts.h"
#include "start_keys.h"
#include "text_format.h"

namespace stlag {

class RepairFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "stlag repair test";
        CreateDirectoryA(folder.c_str(), nullptr);
        backup = folder + "\\Startlagaren 2004-03-07 091502.reg";
        DeleteFileA(backup.c_str());
        DeleteStartKeys();
    }
    void TearDown() override
    {
        DeleteStartKeys();
        DeleteFileA(backup.c_str());
    }

    static std::string SwedishProgram() { return Ansi("C:\\Program Files\\Åäö\\app.exe"); }

    // Every one a finding, each with something the backup format has to get right.
    static void SeedAwkwardValues()
    {
        ASSERT_TRUE(CreateFileWithFolders(SwedishProgram()));
        SetString(HKEY_CURRENT_USER, "Run", "quotes", "C:\\Program Files\\Q \"x\"\\q.exe /a \"b c\"");
        SetString(HKEY_CURRENT_USER, "Run", "svenska", SwedishProgram() + " /" + Ansi("ö"));
        SetString(HKEY_CURRENT_USER, "Run", "empty", "");
        SetString(HKEY_CURRENT_USER, "Run", "crlf", "C:\\windows\\notepad.exe\r\n");
        SetString(HKEY_CURRENT_USER, "Run", "a\\b\"c", "C:\\Program Files\\N\\n.exe");
        SetString(HKEY_CURRENT_USER, "Run", "", "  C:\\windows\\notepad.exe");
        SetString(HKEY_CURRENT_USER, "Run", "ok", "\"C:\\Program Files\\A\\a.exe\" /x");
        SetValue(HKEY_CURRENT_USER, "Run", "number", REG_DWORD, std::string("\x01\x02\x03\x04", 4));
        SetString(HKEY_LOCAL_MACHINE, "RunOnce\\Setup", "setup", "C:\\Program Files\\S\\s.exe /q");
    }

    // One line per key and value: names, types and data as the system holds them.
    static std::vector<std::string> Snapshot()
    {
        std::vector<std::string> lines;
        for (const RunKeyPath& path : kRunKeyPaths) {
            const std::string where = std::string(path.rootName) + "\\" + path.keyName;
            HKEY key = nullptr;
            if (RegOpenKeyExA(RootHandle(path.rootName), RunSubKey(path.keyName).c_str(), 0, KEY_READ, &key) !=
                ERROR_SUCCESS) {
                lines.push_back(where + " (no key)");
                continue;
            }
            for (DWORD index = 0;; ++index) {
                std::vector<wchar_t> name(16384);
                std::vector<BYTE> data(65536);
                DWORD nameLength = static_cast<DWORD>(name.size());
                DWORD dataSize = static_cast<DWORD>(data.size());
                DWORD type = 0;
                if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize) !=
                    ERROR_SUCCESS)
                    break;
                std::string line = where + " name=" + Hex(name.data(), nameLength * sizeof(wchar_t)) +
                                   " type=" + std::to_string(type) + " data=" + Hex(data.data(), dataSize);
                lines.push_back(line);
            }
            RegCloseKey(key);
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    static bool HasValue(HKEY root, const std::string& keyName, const std::string& name)
    {
        return RegGetValueA(root, RunSubKey(keyName).c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
    }

    // The ANSI data of a REG_SZ value up to its NUL, or "(none)".
    static std::string AnsiData(HKEY root, const std::string& keyName, const std::string& name)
    {
        std::vector<char> data(65536, '\0');
        DWORD size = static_cast<DWORD>(data.size());
        if (RegGetValueA(root, RunSubKey(keyName).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data.data(),
                         &size) != ERROR_SUCCESS)
            return "(none)";
        return std::string(data.data());
    }

    std::string ReadBackup() const
    {
        std::ifstream in(backup, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Wine's own registry editor, silently, as a double-click on the file would run it.
    ProcessResult ImportBackup() const { return RunProcess("regedit.exe /S " + Quoted(backup)); }

    std::string folder;
    std::string backup;

private:
    static std::string Hex(const void* bytes, std::size_t count)
    {
        static const char digits[] = "0123456789abcdef";
        std::string out;
        const unsigned char* p = static_cast<const unsigned char*>(bytes);
        for (std::size_t i = 0; i < count; ++i) {
            out += digits[p[i] >> 4];
            out += digits[p[i] & 0x0F];
        }
        return out;
    }
};

}  // namespace stlag

#endif
