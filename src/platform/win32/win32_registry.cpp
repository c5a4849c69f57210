#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace qm {
namespace {

// The predefined roots, sign-extended as the system defines them on 64-bit builds.
HKEY rootKey(uint32_t root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<int32_t>(root))));
}

}  // namespace

Win32Registry::~Win32Registry() {
    for (const auto& entry : open_) RegCloseKey(entry.second);
}

RegHandle Win32Registry::remember(HKEY key) {
    const RegHandle handle = next_++;
    open_[handle] = key;
    return handle;
}

HKEY Win32Registry::lookup(RegHandle key) const {
    const auto found = open_.find(key);
    return found == open_.end() ? nullptr : found->second;
}

long Win32Registry::openKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootKey(root), path.c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS) key = remember(opened);
    return result;
}

long Win32Registry::createKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) {
    HKEY created = nullptr;
    const LONG result = RegCreateKeyExA(rootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                        nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS) key = remember(created);
    return result;
}

long Win32Registry::queryValue(RegHandle key, const std::string& name, RegValue& value, uint32_t maxBytes) {
    HKEY open = lookup(key);
    if (!open) return ERROR_INVALID_HANDLE;
    std::string buffer(maxBytes, '\0');
    DWORD type = 0, size = maxBytes;
    const LONG result = RegQueryValueExA(open, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer.data()), &size);
    value.type = type;
    // On ERROR_MORE_DATA the buffer's contents are undefined: nothing is returned.
    value.data = result == ERROR_SUCCESS ? buffer.substr(0, size) : std::string();
    return result;
}

long Win32Registry::setValue(RegHandle key, const std::string& name, const RegValue& value) {
    HKEY open = lookup(key);
    if (!open) return ERROR_INVALID_HANDLE;
    return RegSetValueExA(open, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size()));
}

long Win32Registry::deleteValue(RegHandle key, const std::string& name) {
    HKEY open = lookup(key);
    if (!open) return ERROR_INVALID_HANDLE;
    return RegDeleteValueA(open, name.c_str());
}

long Win32Registry::closeKey(RegHandle key) {
    HKEY open = lookup(key);
    if (!open) return ERROR_INVALID_HANDLE;
    open_.erase(key);
    return RegCloseKey(open);
}

}  // namespace qm
