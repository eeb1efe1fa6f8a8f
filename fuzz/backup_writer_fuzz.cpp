// Any key paths, value names and data, under a single- and a double-byte code page: each
// value's lines, read back as the registry editor reads them, give its key, name and data
// back, so no key or name can add a section or a value; what cannot be written so is
// refused and leaves the file as it was.
#include <algorithm>
#include <sstream>

#include "fakes.h"
#include "reg_backup_writer.h"

static void Require(bool condition) { if (!condition) __builtin_trap(); }

// The quoted text at pos, escapes undone; a trail byte that looks like a quote or a
// backslash is part of its character.
static std::string Unquote(const std::string& line, std::size_t& pos, const stlag::CodePage& page)
{
    Require(line.at(pos) == '"');
    std::string text;
    for (++pos;; text += line.at(pos++)) {
        if (page.IsLeadByte(static_cast<unsigned char>(line.at(pos))))
            text += line[pos++];
        else if (line[pos] == '"')
            return ++pos, text;
        else if (line[pos] == '\\')
            Require(line.at(++pos) == '\\' || line[pos] == '"');
    }
}

// The data after "=": quoted, or hex(1) bytes ending in the NUL, continuations already joined.
static std::string Data(const std::string& line, std::size_t& pos, const stlag::CodePage& page)
{
    if (line.compare(pos, 7, "hex(1):") != 0)
        return Unquote(line, pos, page);
    std::string data;
    for (pos += 6; pos < line.size() && (line[pos] == ':' || line[pos] == ','); pos += 3)
        data += static_cast<char>(std::stoi(line.substr(pos + 1, 2), nullptr, 16));
    Require(data.back() == '\0');
    return data.substr(0, data.size() - 1);
}

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
        for (std::string last, key, name, data; std::getline(fields, key, '\xFF') && std::getline(fields, name, '\xFF') &&
                                                std::getline(fields, data, '\xFF');) {
            const bool recordable = !control(key) && !control(name);
            const std::size_t before = file.size();
            if (!recordable) {
                Require(!writer.WriteValue(key, name, data) && file.size() == before);
                continue;
            }
            if (ragged(key) || ragged(name) || ragged(data))
                continue;
            Require(writer.WriteValue(key, name, data) && files.onDisk == files.files);
            std::string line = file.substr(before);
            for (std::size_t at = 0; (at = line.find(",\\\n  ", at)) != std::string::npos;)  // quoted texts hold no LF
                line.replace(at, 5, ",");
            const std::string head = key == last ? "\n" : "\n\n[" + (last = key) + "]\n";
            std::size_t pos = head.size();
            Require(line.compare(0, pos, head) == 0 && Unquote(line, pos, page) == name && line.at(pos++) == '=' &&
                    Data(line, pos, page) == data && pos == line.size());
        }
        Require(writer.Finish() && file.compare(0, 8, "REGEDIT4") == 0 && file.back() == '\n');
    }
    return 0;
}
