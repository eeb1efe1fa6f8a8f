#include "fakes.h"

namespace stlag {

std::string MemoryFileSystem::Fold(const std::string& path)
{
    std::string s = path;
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& contents)
{
    files_[Fold(path)] = contents;
}

bool MemoryFileSystem::FileExists(const std::string& path) const
{
    existenceQueries.push_back(path);
    return files_.count(Fold(path)) != 0;
}

std::string MemoryFileSystem::Contents(const std::string& path) const
{
    auto it = files_.find(Fold(path));
    return it == files_.end() ? std::string() : it->second;
}

class MemoryOutputFile : public OutputFile {
public:
    MemoryOutputFile(MemoryFileSystem& fs, std::string key) : fs_(fs), key_(std::move(key)) {}
    bool Write(const char* bytes, std::size_t count) override
    {
        if (closed_ || ++fs_.writeCount == fs_.failWriteNumber)
            return false;
        fs_.files_[key_].append(bytes, count);
        return true;
    }
    bool Flush() override
    {
        if (closed_ || ++fs_.flushCount == fs_.failFlushNumber)
            return false;
        fs_.flushed[key_] = fs_.files_[key_];
        return true;
    }
    bool Close() override
    {
        const bool wasOpen = !closed_;
        closed_ = true;
        return wasOpen;
    }

private:
    MemoryFileSystem& fs_;
    std::string key_;
    bool closed_ = false;
};

std::unique_ptr<OutputFile> MemoryFileSystem::CreateNewFile(const std::string& path)
{
    const std::string key = Fold(path);
    if (failCreate || files_.count(key) != 0)
        return nullptr;
    files_[key];
    return std::unique_ptr<OutputFile>(new MemoryOutputFile(*this, key));
}

std::u16string SingleByteCodePage::ToWide(const std::string& ansi) const
{
    std::u16string wide;
    for (char c : ansi)
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return wide;
}

std::u16string ShiftJisCodePage::ToWide(const std::string& ansi) const
{
    // Not the real table: a stable stand-in that keeps one UTF-16 unit per character.
    std::u16string wide;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(ansi[i]);
        if (IsLeadByte(b) && i + 1 < ansi.size()) {
            wide += static_cast<char16_t>(0x8000 | (b << 8) | static_cast<unsigned char>(ansi[i + 1]));
            ++i;
        } else {
            wide += static_cast<char16_t>(b);
        }
    }
    return wide;
}

}  // namespace stlag
