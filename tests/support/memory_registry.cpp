#include "memory_registry.h"

#include <algorithm>

namespace stlag {

namespace {
std::string LowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}
}  // namespace

std::string MemoryRegistry::Fold(RegistryRoot root, const std::string& subKey)
{
    return (root == RegistryRoot::CurrentUser ? "hkcu\\" : "hklm\\") + LowerAscii(subKey);
}

void MemoryRegistry::CreateKey(RegistryRoot root, const std::string& subKey)
{
    keys_[Fold(root, subKey)];
}

void MemoryRegistry::SetValue(RegistryRoot root, const std::string& subKey, const MemoryValue& value)
{
    Put(keys_[Fold(root, subKey)], value);
}

void MemoryRegistry::SetString(RegistryRoot root, const std::string& subKey, const std::string& name,
                               const std::string& data)
{
    MemoryValue value;
    value.name = name;
    value.type = kRegSz;
    value.data = data + '\0';
    SetValue(root, subKey, value);
}

void MemoryRegistry::RemoveValue(RegistryRoot root, const std::string& subKey, const std::string& name)
{
    auto it = keys_.find(Fold(root, subKey));
    if (it != keys_.end())
        Erase(it->second, name);
}

void MemoryRegistry::DenyAccess(RegistryRoot root, const std::string& subKey, RegAccess access)
{
    Key& key = keys_[Fold(root, subKey)];
    (access == RegAccess::Read ? key.denyRead : key.denyWrite) = true;
}

const MemoryValue* MemoryRegistry::Find(RegistryRoot root, const std::string& subKey,
                                        const std::string& name) const
{
    auto it = keys_.find(Fold(root, subKey));
    return it == keys_.end() ? nullptr : ValueOf(it->second, name);
}

std::vector<MemoryValue> MemoryRegistry::Values(RegistryRoot root, const std::string& subKey) const
{
    auto it = keys_.find(Fold(root, subKey));
    return it == keys_.end() ? std::vector<MemoryValue>() : it->second.values;
}

MemoryRegistry::Key* MemoryRegistry::KeyOf(RegKey handle)
{
    auto it = open_.find(handle);
    if (it == open_.end())
        return nullptr;
    auto key = keys_.find(it->second);
    return key == keys_.end() ? nullptr : &key->second;
}

const MemoryValue* MemoryRegistry::ValueOf(const Key& key, const std::string& name)
{
    auto it = key.index.find(LowerAscii(name));
    return it == key.index.end() ? nullptr : &key.values[it->second];
}

MemoryValue* MemoryRegistry::ValueOf(Key& key, const std::string& name)
{
    return const_cast<MemoryValue*>(ValueOf(static_cast<const Key&>(key), name));
}

void MemoryRegistry::Put(Key& key, const MemoryValue& value)
{
    if (MemoryValue* existing = ValueOf(key, value.name)) {
        *existing = value;
        return;
    }
    key.index[LowerAscii(value.name)] = key.values.size();
    key.values.push_back(value);
}

bool MemoryRegistry::Erase(Key& key, const std::string& name)
{
    auto it = key.index.find(LowerAscii(name));
    if (it == key.index.end())
        return false;
    const std::size_t position = it->second;
    key.values.erase(key.values.begin() + static_cast<std::ptrdiff_t>(position));
    key.index.erase(it);
    for (auto& entry : key.index)
        if (entry.second > position)
            --entry.second;
    return true;
}

long MemoryRegistry::OpenKey(RegistryRoot root, const std::string& subKey, RegAccess access, RegKey& key)
{
    auto it = keys_.find(Fold(root, subKey));
    if (it == keys_.end())
        return kErrorFileNotFound;
    if (access == RegAccess::Read ? it->second.denyRead : it->second.denyWrite)
        return kErrorAccessDenied;
    key = nextHandle_++;
    open_[key] = it->first;
    return kErrorSuccess;
}

long MemoryRegistry::EnumValue(RegKey handle, unsigned long index, std::size_t nameCapacity, std::string& name,
                               unsigned long& type)
{
    Key* key = KeyOf(handle);
    if (!key)
        return 6;  // invalid handle
    if (index >= key->values.size())
        return kErrorNoMoreItems;
    const MemoryValue& v = key->values[index];
    if (v.name.size() + 1 > nameCapacity)
        return kErrorMoreData;
    name = v.name;
    type = v.type;
    return kErrorSuccess;
}

long MemoryRegistry::QueryValue(RegKey handle, const std::string& name, unsigned long& type, char* data,
                                unsigned long& size)
{
    if (beforeQuery)
        beforeQuery(name, data == nullptr);
    Key* key = KeyOf(handle);
    if (!key)
        return 6;
    const MemoryValue* v = ValueOf(*key, name);
    if (!v)
        return kErrorFileNotFound;
    type = v->type;
    const unsigned long needed = static_cast<unsigned long>(v->data.size());
    if (data == nullptr) {
        size = needed;
        return kErrorSuccess;
    }
    if (size < needed) {
        size = needed;
        return kErrorMoreData;
    }
    std::copy(v->data.begin(), v->data.end(), data);
    size = needed;
    return kErrorSuccess;
}

long MemoryRegistry::QueryValueWide(RegKey handle, const std::string& name, std::u16string& data)
{
    Key* key = KeyOf(handle);
    if (!key)
        return 6;
    const MemoryValue* v = ValueOf(*key, name);
    if (!v)
        return kErrorFileNotFound;
    if (v->hasWideData) {
        data = v->wideData;
    } else {
        data.clear();
        for (char c : v->data) {
            if (c == '\0')
                break;
            data += static_cast<char16_t>(static_cast<unsigned char>(c));
        }
    }
    return kErrorSuccess;
}

long MemoryRegistry::SetStringValue(RegKey handle, const std::string& name, const std::string& data)
{
    Key* key = KeyOf(handle);
    if (!key)
        return 6;
    if (setFailure != 0)
        return setFailure;
    MemoryValue value;
    value.name = name;
    value.data = data + '\0';
    Put(*key, value);
    return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(RegKey handle, const std::string& name)
{
    Key* key = KeyOf(handle);
    if (!key)
        return 6;
    if (deleteFailure != 0)
        return deleteFailure;
    return Erase(*key, name) ? kErrorSuccess : kErrorFileNotFound;
}

void MemoryRegistry::CloseKey(RegKey handle)
{
    open_.erase(handle);
}

}  // namespace stlag
