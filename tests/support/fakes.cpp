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

std::string MemoryFileSystem::ExpandVariables(const std::string& text) const
{
    std::string out = text;
    for (std::size_t at = 0; at < out.size(); ++at)
        for (const auto& variable : variables)
            if (out.compare(at, variable.first.size(), variable.first) == 0)
                out.replace(at, variable.first.size(), variable.second);
    return out;
}

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

std::string MemoryRegistry::Path(RegistryRoot root, RegistryView view, const std::string& subKey)
{
    const std::string prefix = root == RegistryRoot::CurrentUser ? "HKCU" : root == RegistryRoot::Users ? "HKU"
                               : view == RegistryView::Wow64 ? "HKLM32" : "HKLM";
    return MemoryFileSystem::Fold(subKey.empty() ? prefix : prefix + "\\" + subKey);
}

MemoryValue* MemoryRegistry::Lookup(const std::string& path, const std::string& name)
{
    auto& index = index_[path];
    const auto found = index.find(MemoryFileSystem::Fold(name));
    return found == index.end() ? nullptr : &keys_[path][found->second];
}

void MemoryRegistry::Set(RegistryRoot root, const std::string& subKey, const MemoryValue& value, RegistryView view)
{
    const std::string path = Path(root, view, subKey);
    spelled_[path] = Path(root, view, "") + "\\" + subKey;
    const auto added = index_[path].emplace(MemoryFileSystem::Fold(value.name), keys_[path].size());
    if (added.second)
        keys_[path].push_back(value);
    else
        keys_[path][added.first->second] = value;
}

const MemoryValue* MemoryRegistry::Find(RegistryRoot root, const std::string& subKey, const std::string& name,
                                        RegistryView view) const
{
    return const_cast<MemoryRegistry*>(this)->Lookup(Path(root, view, subKey), name);
}

bool MemoryRegistry::Erase(const std::string& path, const std::string& name)
{
    if (Lookup(path, name) == nullptr)
        return false;
    Key& values = keys_[path];
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(index_[path].at(MemoryFileSystem::Fold(name))));
    index_[path].clear();
    for (std::size_t i = 0; i < values.size(); ++i)
        index_[path][MemoryFileSystem::Fold(values[i].name)] = i;
    return true;
}

long MemoryRegistry::OpenKey(RegistryRoot root, RegistryView view, const std::string& subKey, RegAccess access,
                             RegKey& key)
{
    const std::string path = Path(root, view, subKey);
    const auto child = keys_.lower_bound(path + "\\");
    if (keys_.count(path) == 0 && (child == keys_.end() || child->first.compare(0, path.size() + 1, path + "\\") != 0))
        return kErrorFileNotFound;
    const auto denied = denied_.find(path);
    if (denied != denied_.end() && denied->second == access)
        return kErrorAccessDenied;
    key = next_++;
    open_[key] = path;
    return kErrorSuccess;
}

long MemoryRegistry::Read(const MemoryValue& stored, RegValue& value)
{
    if (stored.name.size() > kValueNameLimit) {
        value = RegValue();
        return kErrorMoreData;
    }
    const bool text = stored.type == kRegSz || stored.type == kRegExpandSz;
    value = {stored.name, stored.type, text && stored.dataRead ? stored.data : std::string(), stored.nameInCodePage,
             stored.dataInCodePage, stored.dataRead};
    return kErrorSuccess;
}

long MemoryRegistry::ReadValue(RegKey key, unsigned long index, RegValue& value)
{
    const Key& values = keys_[open_.at(key)];
    return index < values.size() ? Read(values[index], value) : kErrorNoMoreItems;
}

long MemoryRegistry::ReadNamedValue(RegKey key, const std::string& name, RegValue& value)
{
    const MemoryValue* stored = Lookup(open_.at(key), name);
    return stored == nullptr ? kErrorFileNotFound : Read(*stored, value);
}

long MemoryRegistry::EnumSubKey(RegKey key, unsigned long index, std::string& name)
{
    const std::string prefix = open_.at(key) + "\\";
    std::map<std::string, std::string> children;  // folded name: name as set
    for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        const std::string below = spelled_[it->first].substr(prefix.size()), child = below.substr(0, below.find('\\'));
        children.emplace(MemoryFileSystem::Fold(child), child);
    }
    if (index >= children.size())
        return kErrorNoMoreItems;
    name = std::next(children.begin(), static_cast<std::ptrdiff_t>(index))->second;
    return kErrorSuccess;
}

long MemoryRegistry::SetStringValue(RegKey key, const std::string& name, const std::string& data, unsigned long type)
{
    if (setFailure != kErrorSuccess)
        return setFailure;
    const std::string& path = open_.at(key);
    const auto added = index_[path].emplace(MemoryFileSystem::Fold(name), keys_[path].size());
    if (added.second)
        keys_[path].emplace_back();
    keys_[path][added.first->second] = {name, type, data + '\0'};
    if (onChange)
        onChange();
    return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(RegKey key, const std::string& name)
{
    if (deleteFailure != kErrorSuccess)
        return deleteFailure;
    if (!Erase(open_.at(key), name))
        return kErrorFileNotFound;
    if (onChange)
        onChange();
    return kErrorSuccess;
}

}  // namespace stlag
