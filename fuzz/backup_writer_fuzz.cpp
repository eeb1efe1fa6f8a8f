// Any value names and data: what the backup writer writes reads back, through a reader of
// the format written apart from it, as the same key paths, names and data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fakes.h"
#include "reg_backup_writer.h"
#include "regedit4_reader.h"
#include "registry.h"
#include "run_key_scanner.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Splits the input at 0xFF bytes: a key selector byte, then name and data, repeated.
// NUL bytes are dropped: the registry's string texts end at the first one.
std::vector<std::string> Fields(const std::uint8_t* bytes, std::size_t size)
{
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == 0xFF)
            fields.emplace_back();
        else if (bytes[i] != 0)
            fields.back() += static_cast<char>(bytes[i]);
    }
    return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::vector<std::string> fields = Fields(bytes, size);
    stlag::MemoryFileSystem files;
    stlag::SingleByteCodePage singleByte;
    stlag::RegBackupWriter writer(files, singleByte);
    Require(writer.Create("C:\\backup.reg"));
    std::vector<stlag::RegFileValue> written;
    for (std::size_t i = 0; i + 2 < fields.size(); i += 3) {
        const std::string& selector = fields[i];
        const stlag::RunKeyPath& path = stlag::kRunKeyPaths[(selector.empty() ? 0 : selector[0] & 0xFF) % 7];
        std::string keyPath = stlag::RunKeyFullPath(path.rootName, path.keyName);
        if (selector.size() > 1 && (selector[1] & 1))
            keyPath[0] = 'h';  // the same key in other letter case: a header of its own
        const std::string& name = fields[i + 1];
        const std::string& data = fields[i + 2];
        if (!stlag::RegBackupWriter::CanRecordName(name))
            continue;
        Require(writer.WriteValue(keyPath, name, data));
        written.push_back(stlag::RegFileValue{keyPath, name, data});
    }
    Require(writer.Finish());

    const std::string file = files.Contents("C:\\backup.reg");
    Require(file.find('\r') == std::string::npos);
    std::vector<stlag::RegFileValue> read;
    std::string error;
    Require(stlag::ReadRegedit4(file, read, error));
    Require(read == written);
    Require(!file.empty() && file.back() == '\n');
    return 0;
}
