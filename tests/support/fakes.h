// Stand-ins for the engine's ports: files, code pages, the string table and the registry,
// all in memory. Names of files, keys and values compare without regard to ASCII case.
#ifndef STLAG_FAKES_H
#define STLAG_FAKES_H

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform.h"
#include "registry.h"

namespace stlag {

class MemoryFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files, onDisk;  // what was written, and what had been flushed
    std::string failWriteHolding;                      // a write holding this text writes what comes before it and fails
    bool failFlush = false;
    std::map<std::string, std::string> variables;  // by folded name: what it holds

    std::map<std::string, PathAnswer> answers;  // by folded path: what a probe there gives, files aside
    std::set<std::string> links;                // folded paths that are reparse points
    mutable std::vector<std::string> probed;    // every path asked about, in order

    // A folder holds a file; as Windows answers, a ':' past the drive, or '"', '<', '>' or
    // '|', makes a malformed name.
    PathFacts Probe(const std::string& path) const override
    {
        probed.push_back(path);
        const std::string folded = Fold(path);
        const auto answer = answers.find(folded);
        const auto below = files.lower_bound(folded + "\\");
        const bool folder = below != files.end() && below->first.rfind(folded + "\\", 0) == 0;
        const bool malformed = path.find(':', 2) != std::string::npos || path.find_first_of("\"<>|") != std::string::npos;
        return {answer != answers.end() ? answer->second
                : FileExists(path)      ? PathAnswer::File
                : folder                ? PathAnswer::Folder
                : malformed             ? PathAnswer::Malformed
                                        : PathAnswer::NotFound,
                links.count(folded) != 0};
    }
    bool IsLocalFixedDrive(char letter) const override { return letter == 'c' || letter == 'C'; }
    // A '*' matches the rest of a name.
    bool FileExists(const std::string& path) const override
    {
        const std::string folded = Fold(path), stem = folded.substr(0, folded.find('*'));
        const auto first = files.lower_bound(stem);
        return stem == folded ? files.count(folded) != 0 : first != files.end() && first->first.rfind(stem, 0) == 0;
    }
    VariableValue Variable(const std::string& name) const override
    {
        const auto variable = variables.find(Fold(name));
        return variable == variables.end() ? VariableValue() : VariableValue{VariableValue::Set, variable->second};
    }
    bool NameTaken(const std::string& path) const override { return files.count(Fold(path)) != 0; }
    std::unique_ptr<OutputFile> CreateNewFile(const std::string& path) override
    {
        return FileExists(path) ? nullptr : std::make_unique<File>(*this, Fold(path));
    }
    // In lower case, and a "\part\.." gone, as Windows reads a path by its text.
    static std::string Fold(std::string text)
    {
        for (char& c : text)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        for (std::size_t at, part; (at = text.find("\\..\\")) != std::string::npos && at > 0 &&
                                   (part = text.rfind('\\', at - 1)) != std::string::npos;)
            text.erase(part, at + 3 - part);
        return text;
    }

private:
    struct File : OutputFile {
        File(MemoryFileSystem& fs, std::string path) : fs(fs), path(std::move(path)) { fs.files[this->path]; }
        bool Write(const char* bytes, std::size_t count) override
        {
            const std::string text(bytes, count);
            const bool fails = !fs.failWriteHolding.empty() && text.find(fs.failWriteHolding) != std::string::npos;
            fs.files[path] += fails ? text.substr(0, text.find(fs.failWriteHolding)) : text;
            return !fails;
        }
        bool Flush() override { return fs.onDisk[path] = fs.files[path], !fs.failFlush; }
        bool CutTo(std::uint64_t size) override { return fs.files[path].resize(static_cast<std::size_t>(size)), true; }
        bool Close() override { return true; }
        bool Discard() override { return fs.files.erase(path) + fs.onDisk.erase(path) != 0; }
        MemoryFileSystem& fs;
        const std::string path;
    };
};

// A single-byte page maps bytes to U+0000..U+00FF, each to its own unit: the engine converts
// single-byte characters only. The double-byte page is code page 932 as the system converts it,
// lead bytes 0x81-0x9F and 0xE0-0xFC; a byte that starts no character stands for itself.
struct FakeCodePage : CodePage {
    explicit FakeCodePage(bool doubleByte = false) : doubleByte(doubleByte) {}
    bool IsLeadByte(unsigned char b) const override { return doubleByte && b >= 0x81 && b <= 0xFC && (b <= 0x9F || b >= 0xE0); }
    std::u16string ToWide(const std::string& ansi) const override;
    bool doubleByte;
};

// The program's own texts, read from res/strings.rc and converted to code page 1252.
struct RcTexts : Texts {
    RcTexts();
    std::string Load(unsigned id) const override { return texts.count(id) != 0 ? texts.at(id) : std::string(); }
    std::map<unsigned, std::string> texts;
};

// UTF-8 source text in code page 1252, as the program sees its texts.
std::string Ansi(const std::string& utf8);

// A value is stored as a read of it gives it, string data with its NULs; the registry hands
// out the data of text types only, as the port promises.
class MemoryRegistry : public Registry {
public:
    void Set(RegistryRoot root, const std::string& subKey, const RegValue& value, RegistryView view = RegistryView::Native)
    {
        const std::string path = Path(root, subKey, view);
        spelled_[path] = path.substr(0, path.size() - subKey.size()) + subKey;
        Put(path, value);
    }
    // A REG_SZ value stored with its NUL.
    void SetString(RegistryRoot root, const std::string& subKey, const std::string& name, const std::string& data,
                   RegistryView view = RegistryView::Native) { Set(root, subKey, {name, kRegSz, data + '\0'}, view); }
    void Remove(RegistryRoot root, const std::string& key, const std::string& name) { Erase(Path(root, key), name); }
    void Deny(RegistryRoot root, const std::string& key, RegAccess access) { denied_[Path(root, key)] = access; }
    // The walks over the key's values and sub-keys end with status rather than 259.
    void EndWalks(RegistryRoot root, const std::string& key, long status) { walkEnd_[Path(root, key)] = status; }

    std::function<void()> onChange = [] {};  // after each change or deletion
    long setFailure = kErrorSuccess, deleteFailure = kErrorSuccess;

    long OpenKey(RegistryRoot root, RegistryView view, const std::string& subKey, RegAccess access, RegKey& key) override
    {
        const std::string path = Path(root, subKey, view);
        // A key exists when it holds values or has keys below it.
        const auto below = keys_.lower_bound(path + "\\");
        if (keys_.count(path) == 0 && (below == keys_.end() || below->first.rfind(path + "\\", 0) != 0))
            return kErrorFileNotFound;
        if (denied_.count(path) != 0 && denied_.at(path) == access)
            return kErrorAccessDenied;
        open_[key = next_++] = path;
        return kErrorSuccess;
    }
    long ReadValue(RegKey key, unsigned long index, RegValue& value) override
    {
        const std::vector<RegValue>& values = keys_.at(open_.at(key));
        return index < values.size() ? Read(values[index], value) : WalkEnd(open_.at(key));
    }
    long ReadNamedValue(RegKey key, const std::string& name, RegValue& value) override
    {
        const auto slot = slots_.find(Slot(open_.at(key), name));
        return slot == slots_.end() ? kErrorFileNotFound : Read(keys_.at(open_.at(key))[slot->second], value);
    }
    // The names of the keys right below, in sorted order as the system lists them.
    long EnumSubKey(RegKey key, unsigned long index, std::string& name, std::u16string& trueName) override
    {
        const std::string prefix = open_.at(key) + "\\";
        std::map<std::string, std::string> children;  // folded name: name as set
        for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.rfind(prefix, 0) == 0; ++it) {
            const std::string below = spelled_[it->first].substr(prefix.size()), child = below.substr(0, below.find('\\'));
            children.emplace(MemoryFileSystem::Fold(child), child);
        }
        if (index >= children.size())
            return WalkEnd(open_.at(key));
        name = std::next(children.begin(), static_cast<std::ptrdiff_t>(index))->second;
        trueName.clear();  // '?' stands in for what the page lacks, 'Ω' here
        for (const char c : name.find('?') == std::string::npos ? "" : name)
            trueName += c == '?' ? u'\u03A9' : static_cast<char16_t>(static_cast<unsigned char>(c));
        return kErrorSuccess;
    }
    long SetStringValue(RegKey key, const std::string& name, const std::string& data, unsigned long type) override
    {
        if (setFailure == kErrorSuccess)
            Put(open_.at(key), {name, type, data + '\0'}), onChange();
        return setFailure;
    }
    long DeleteValue(RegKey key, const std::string& name) override
    {
        if (deleteFailure != kErrorSuccess || !Erase(open_.at(key), name))
            return deleteFailure != kErrorSuccess ? deleteFailure : kErrorFileNotFound;
        onChange();
        return kErrorSuccess;
    }
    void CloseKey(RegKey key) override { open_.erase(key); }

private:
    static std::string Path(RegistryRoot root, const std::string& subKey, RegistryView view = RegistryView::Native)
    {
        const char* machine = view == RegistryView::Wow64 ? "HKLM32" : "HKLM";
        const char* prefix = root == RegistryRoot::CurrentUser ? "HKCU" : root == RegistryRoot::Users ? "HKU" : machine;
        return MemoryFileSystem::Fold(subKey.empty() ? prefix : prefix + ("\\" + subKey));
    }
    // A value's place in its key's list is found by key path, NUL and folded name.
    static std::string Slot(const std::string& path, const std::string& name) { return path + '\0' + MemoryFileSystem::Fold(name); }
    // A name past the limit is refused and the value left empty, as the system's buffer would be.
    static long Read(const RegValue& stored, RegValue& value)
    {
        const bool fits = stored.name.size() <= kValueNameLimit;
        value = fits ? stored : RegValue();
        if ((value.type != kRegSz && value.type != kRegExpandSz) || !value.dataRead)
            value.data.clear();
        return fits ? kErrorSuccess : kErrorMoreData;
    }
    long WalkEnd(const std::string& path) const { return walkEnd_.count(path) != 0 ? walkEnd_.at(path) : kErrorNoMoreItems; }
    void Put(const std::string& path, const RegValue& value)
    {
        std::vector<RegValue>& values = keys_[path];
        const std::size_t at = slots_.emplace(Slot(path, value.name), values.size()).first->second;
        (at == values.size() ? values.emplace_back() : values[at]) = value;  // a walk reads them in the order first set
    }
    bool Erase(const std::string& path, const std::string& name)
    {
        const auto slot = slots_.find(Slot(path, name));
        if (slot == slots_.end())
            return false;
        std::vector<RegValue>& values = keys_.at(path);
        values.erase(values.begin() + static_cast<std::ptrdiff_t>(slot->second));
        slots_.erase(slot);
        for (std::size_t i = 0; i < values.size(); ++i)  // the later ones have moved up one place
            slots_[Slot(path, values[i].name)] = i;
        if (values.empty())  // and with its last value the key is gone
            keys_.erase(path);
        return true;
    }

    std::map<std::string, std::vector<RegValue>> keys_;  // by path, in the order a walk reads them
    std::map<std::string, std::string> spelled_;         // each key's path with its sub-key as it was set
    std::unordered_map<std::string, std::size_t> slots_;
    std::map<std::string, RegAccess> denied_;
    std::map<std::string, long> walkEnd_;
    std::map<RegKey, std::string> open_;
    RegKey next_ = 1;
};

}  // namespace stlag

#endif
