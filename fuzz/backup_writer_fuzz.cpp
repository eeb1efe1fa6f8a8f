// Any key paths, value names and data, under a single- and a double-byte code page: the
// file, read back as the registry editor reads it, gives each value's key, name and data
// back, so no key or name can add a section or a value; what cannot be written so is
// refused and leaves the file as it was. The same bytes read as a backup never crash it.
#include <algorithm>
#include <sstream>
#include <vector>

#include "backup_reader.h"
#include "fakes.h"
#include "reg_backup_writer.h"

static void Require(bool condition) { if (!condition) __builtin_trap(); }

// Fields split at 0xFF: key path, name and data, repeated.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const auto control = [](const std::string& s) {
        return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    };
    for (const bool doubleByte : {false, true}) {
        const stlag::FakeCodePage page(doubleByte);
        stlag::MemoryFileSystem files;
        stlag::RegBackupWriter writer(files, page);
        Require(writer.Create("C:\\backup.reg") && files.onDisk == files.files);
        const std::string& file = files.files.at("c:\\backup.reg");
        std::istringstream fields(std::string(reinterpret_cast<const char*>(bytes), size));
        // The system's ANSI text never ends inside a character; a text ending in a lead-valued byte might.
        const auto ragged = [&page](const std::string& s) { return !s.empty() && page.IsLeadByte(s.back() & 0xFF); };
        std::vector<stlag::BackupEntry> written;
        for (std::string part, name, data; std::getline(fields, part, '\xFF') && std::getline(fields, name, '\xFF') &&
                                           std::getline(fields, data, '\xFF');) {
            const std::string key = "HKEY_CURRENT_USER\\" + part;  // as every key path the repair records
            const std::size_t before = file.size();
            if (control(key) || control(name)) {
                Require(!writer.WriteValue(key, name, data) && file.size() == before);
                continue;
            }
            // A repair never backs up data that holds a second string.
            if (ragged(key) || ragged(name) || ragged(data) || data.find('\0') != std::string::npos)
                continue;
            Require(writer.WriteValue(key, name, data) && files.onDisk == files.files);
            written.push_back({0, key, name, data, stlag::kRegSz});
        }
        Require(writer.Finish() && file.compare(0, 8, "REGEDIT4") == 0 && file.back() == '\n');
        const stlag::ParsedBackup read = stlag::ReadBackup(file, page);
        Require(read.read && read.entries.size() == written.size());
        for (std::size_t i = 0; i < written.size(); ++i)
            Require(read.entries[i].keyPath == written[i].keyPath && read.entries[i].name == written[i].name &&
                    read.entries[i].data == written[i].data && read.entries[i].type == stlag::kRegSz);
        stlag::ReadBackup(std::string(reinterpret_cast<const char*>(bytes), size), page);
    }
    return 0;
}
