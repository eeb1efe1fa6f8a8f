#include "fakes.h"

#include <iconv.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace stlag {

std::string MemoryFileSystem::Fold(std::string text)
{
    for (char& c : text)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return text;
}

namespace {
class MemoryFile : public OutputFile {
public:
    MemoryFile(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(const char* bytes, std::size_t count) override
    {
        const std::string text(bytes, count);
        if (!fs_.failWriteHolding.empty() && text.find(fs_.failWriteHolding) != std::string::npos)
            return false;
        fs_.files[path_] += text;
        return true;
    }
    bool Flush() override
    {
        fs_.onDisk[path_] = fs_.files[path_];
        return !fs_.failFlush;
    }
    bool Close() override { return true; }

private:
    MemoryFileSystem& fs_;
    std::string path_;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return text.str();
}
}  // namespace

std::unique_ptr<OutputFile> MemoryFileSystem::CreateNewFile(const std::string& path)
{
    if (failCreate || FileExists(path))
        return nullptr;
    files[Fold(path)];
    return std::make_unique<MemoryFile>(*this, Fold(path));
}

std::u16string FakeCodePage::ToWide(const std::string& ansi) const
{
    std::u16string wide;  // a stand-in table: one unit per character
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto b = static_cast<unsigned char>(ansi[i]);
        const bool pair = IsLeadByte(b) && i + 1 < ansi.size();
        wide += static_cast<char16_t>(pair ? 0x8000 | b << 8 | static_cast<unsigned char>(ansi[++i]) : b);
    }
    return wide;
}

std::string Ansi(const std::string& utf8)
{
    iconv_t convert = iconv_open("CP1252", "UTF-8");
    std::string out(utf8.size(), '\0');
    char* in = const_cast<char*>(utf8.data());
    char* to = &out[0];
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    const bool ok = iconv(convert, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(convert);
    if (!ok)
        throw std::runtime_error("not in code page 1252: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}

RcTexts::RcTexts()
{
    std::map<std::string, unsigned> ids;
    const std::string header = ReadFile(STLAG_RES_DIR "/resource.h");
    const std::regex define(R"(#define\s+(\w+)\s+(\w+))");
    for (std::sregex_iterator m(header.begin(), header.end(), define), end; m != end; ++m)
        ids[(*m)[1]] = static_cast<unsigned>(std::stoul((*m)[2], nullptr, 0));
    const std::string rc = ReadFile(STLAG_RES_DIR "/strings.rc");
    const std::regex entry(R"(\n\s*(IDS_\w+)\s+\"((?:[^\"\\]|\\.)*)\")");
    for (std::sregex_iterator m(rc.begin(), rc.end(), entry), end; m != end; ++m) {
        std::string text = (*m)[2];
        for (const auto& escape : {std::make_pair("\\r", "\r"), {"\\n", "\n"}, {"\\t", "\t"}, {"\\\\", "\\"}})
            for (std::size_t at = 0; (at = text.find(escape.first, at)) != std::string::npos; ++at)
                text.replace(at, 2, escape.second);
        texts_[ids.at((*m)[1])] = Ansi(text);
    }
}

std::string RcTexts::Load(unsigned id) const
{
    const auto found = texts_.find(id);
    return found == texts_.end() ? std::string() : found->second;
}

std::string MemoryRegistry::Path(RegistryRoot root, const std::string& subKey)
{
    return MemoryFileSystem::Fold((root == RegistryRoot::CurrentUser ? "HKCU\\" : "HKLM\\") + subKey);
}

void MemoryRegistry::Set(RegistryRoot root, const std::string& subKey, const MemoryValue& value)
{
    Key& key = keys_[Path(root, subKey)];
    const auto found = key.index.emplace(MemoryFileSystem::Fold(value.name), key.values.size());
    if (found.second)
        key.values.push_back(value);
    else
        key.values[found.first->second] = value;
}

const MemoryValue* MemoryRegistry::Find(RegistryRoot root, const std::string& subKey, const std::string& name) const
{
    const auto key = keys_.find(Path(root, subKey));
    if (key == keys_.end())
        return nullptr;
    const auto found = key->second.index.find(MemoryFileSystem::Fold(name));
    return found == key->second.index.end() ? nullptr : &key->second.values[found->second];
}

MemoryValue* MemoryRegistry::Lookup(RegKey key, const std::string& name)
{
    const auto path = open_.find(key);
    if (path == open_.end())
        return nullptr;
    Key& k = keys_[path->second];
    const auto found = k.index.find(MemoryFileSystem::Fold(name));
    return found == k.index.end() ? nullptr : &k.values[found->second];
}

long MemoryRegistry::OpenKey(RegistryRoot root, const std::string& subKey, RegAccess access, RegKey& key)
{
    const std::string path = Path(root, subKey);
    if (keys_.count(path) == 0)
        return kErrorFileNotFound;
    const auto denied = denied_.find(path);
    if (denied != denied_.end() && denied->second == access)
        return kErrorAccessDenied;
    key = next_++;
    open_[key] = path;
    return kErrorSuccess;
}

long MemoryRegistry::EnumValue(RegKey key, unsigned long index, std::size_t nameCapacity, std::string& name,
                               unsigned long& type)
{
    const std::vector<MemoryValue>& values = keys_[open_.at(key)].values;
    if (index >= values.size())
        return kErrorNoMoreItems;
    name.clear();
    if (values[index].name.size() >= nameCapacity)
        return kErrorMoreData;
    name = values[index].name;
    type = values[index].type;
    return kErrorSuccess;
}

long MemoryRegistry::QueryValue(RegKey key, const std::string& name, unsigned long& type, char* data,
                                unsigned long& size)
{
    if (beforeQuery)
        beforeQuery(name, data == nullptr);
    const MemoryValue* value = Lookup(key, name);
    if (value == nullptr)
        return kErrorFileNotFound;
    type = value->type;
    const bool fits = data == nullptr || size >= value->data.size();
    if (data != nullptr && fits)
        value->data.copy(data, value->data.size());
    size = static_cast<unsigned long>(value->data.size());
    return fits ? kErrorSuccess : kErrorMoreData;
}

long MemoryRegistry::QueryValueWide(RegKey key, const std::string& name, std::u16string& data)
{
    const MemoryValue* value = Lookup(key, name);
    if (value == nullptr)
        return kErrorFileNotFound;
    data = value->wide;
    if (data.empty())
        for (std::size_t i = 0; i < value->data.size() && value->data[i] != '\0'; ++i)
            data += static_cast<char16_t>(static_cast<unsigned char>(value->data[i]));
    return kErrorSuccess;
}

long MemoryRegistry::SetStringValue(RegKey key, const std::string& name, const std::string& data)
{
    if (setFailure != kErrorSuccess)
        return setFailure;
    Key& k = keys_[open_.at(key)];
    const auto found = k.index.emplace(MemoryFileSystem::Fold(name), k.values.size());
    if (found.second)
        k.values.push_back({name, kRegSz, {}, {}});
    k.values[found.first->second] = {name, kRegSz, data + '\0', {}};
    if (onChange)
        onChange();
    return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(RegKey key, const std::string& name)
{
    if (deleteFailure != kErrorSuccess)
        return deleteFailure;
    Key& k = keys_[open_.at(key)];
    const auto found = k.index.find(MemoryFileSystem::Fold(name));
    if (found == k.index.end())
        return kErrorFileNotFound;
    k.values.erase(k.values.begin() + static_cast<std::ptrdiff_t>(found->second));
    k.index.clear();
    for (std::size_t i = 0; i < k.values.size(); ++i)
        k.index[MemoryFileSystem::Fold(k.values[i].name)] = i;
    if (onChange)
        onChange();
    return kErrorSuccess;
}

}  // namespace stlag
