// Stand-ins for the engine's ports: files, code pages, the string table and the registry,
// all in memory. Names of files, keys and values compare without regard to ASCII case.
#ifndef STLAG_FAKES_H
#define STLAG_FAKES_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform.h"
#include "registry.h"

namespace stlag {

class MemoryFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;   // what was written
    std::map<std::string, std::string> onDisk;  // what had been flushed
    std::string failWriteHolding;               // a write holding this text fails
    bool failCreate = false;
    bool failFlush = false;
    std::map<std::string, std::string> variables;  // "%NAME%": what it expands to
    bool FileExists(const std::string& path) const override { return files.count(Fold(path)) != 0; }
    std::string ExpandVariables(const std::string& text) const override;
    std::unique_ptr<OutputFile> CreateNewFile(const std::string& path) override;
    bool RemoveFile(const std::string& path) override { return files.erase(Fold(path)) != 0; }
    static std::string Fold(std::string text);
};

// Bytes map to U+0000..U+00FF; a double-byte page has lead bytes 0x81-0x9F and 0xE0-0xFC
// as code page 932 does.
class FakeCodePage : public CodePage {
public:
    explicit FakeCodePage(bool doubleByte = false) : doubleByte_(doubleByte) {}
    bool IsLeadByte(unsigned char b) const override { return doubleByte_ && ((b >= 0x81 && b <= 0x9F) || b >= 0xE0); }
    std::u16string ToWide(const std::string& ansi) const override;

private:
    bool doubleByte_;
};

// The program's own texts, read from res/strings.rc and converted to code page 1252.
class RcTexts : public Texts {
public:
    RcTexts();
    std::string Load(unsigned id) const override;

private:
    std::map<unsigned, std::string> texts_;
};

// UTF-8 source text in code page 1252, as the program sees its texts.
std::string Ansi(const std::string& utf8);

// A value as stored: data with its NUL; the flags as one read would report them.
struct MemoryValue {
    std::string name;
    unsigned long type = kRegSz;
    std::string data;
    bool nameInCodePage = true;
    bool dataInCodePage = true;
    bool dataRead = true;
};

class MemoryRegistry : public Registry {
public:
    void Set(RegistryRoot root, const std::string& subKey, const MemoryValue& value,
             RegistryView view = RegistryView::Native);
    // A REG_SZ value stored with its NUL.
    void SetString(RegistryRoot root, const std::string& subKey, const std::string& name, const std::string& data,
                   RegistryView view = RegistryView::Native)
    {
        Set(root, subKey, {name, kRegSz, data + '\0'}, view);
    }
    const MemoryValue* Find(RegistryRoot root, const std::string& subKey, const std::string& name,
                            RegistryView view = RegistryView::Native) const;
    void Remove(RegistryRoot root, const std::string& subKey, const std::string& name)
    {
        Erase(Path(root, RegistryView::Native, subKey), name);
    }
    void Deny(RegistryRoot root, const std::string& subKey, RegAccess access)
    {
        denied_[Path(root, RegistryView::Native, subKey)] = access;
    }

    std::function<void()> onChange;  // after each change or deletion
    long setFailure = 0;
    long deleteFailure = 0;

    long OpenKey(RegistryRoot root, RegistryView view, const std::string& subKey, RegAccess access,
                 RegKey& key) override;
    long ReadValue(RegKey key, unsigned long index, RegValue& value) override;
    long ReadNamedValue(RegKey key, const std::string& name, RegValue& value) override;
    long EnumSubKey(RegKey key, unsigned long index, std::string& name) override;
    long SetStringValue(RegKey key, const std::string& name, const std::string& data, unsigned long type) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    void CloseKey(RegKey key) override { open_.erase(key); }

private:
    using Key = std::vector<MemoryValue>;
    static std::string Path(RegistryRoot root, RegistryView view, const std::string& subKey);
    static long Read(const MemoryValue& stored, RegValue& value);
    MemoryValue* Lookup(const std::string& path, const std::string& name);
    bool Erase(const std::string& path, const std::string& name);
    std::map<std::string, Key> keys_;
    std::map<std::string, std::string> spelled_;  // each key's path as it was set
    std::map<std::string, std::unordered_map<std::string, std::size_t>> index_;
    std::map<std::string, RegAccess> denied_;
    std::map<RegKey, std::string> open_;
    RegKey next_ = 1;
};

}  // namespace stlag

#endif
