#pragma once
// The text form of our registry store on Linux, in the style of a regedit export, so a
// user can read it:
//   [HKLM\Software\Microsoft\Quillmere]
//   "ver"="5"                  a string (REG_SZ with its one terminating NUL)
//   "count"=dword:0000002a     a 32-bit number
//   "blob"=hex:01,ff           binary data; hex(N): other types, and strings that are not plain
#include <string>
#include <vector>

#include "platform/registry.h"

namespace qm {

struct StoredValue {
    std::string name;
    RegValue value;
};

struct StoredKey {
    std::string path;  // root name, backslash, key path: "HKLM\Software\Microsoft\Quillmere"
    std::vector<StoredValue> values;
};

struct RegistryStore {
    std::vector<StoredKey> keys;
    // Set when the text held a line that is neither blank, a comment, a [key] nor a value:
    // rewriting such a file would drop what we did not understand.
    bool damaged = false;

    // Names compare without regard to ASCII case, as the registry's do.
    StoredKey* findKey(const std::string& path);
    StoredKey& addKey(const std::string& path);   // the existing one when there is one
    // True when the key is stored or is the parent of a stored key.
    bool keyExists(const std::string& path) const;
    static StoredValue* findValue(StoredKey& key, const std::string& name);
};

std::string registryStoreText(const RegistryStore& store);
// Lines that do not parse are skipped (and mark the store damaged): the values around them
// are still read.
RegistryStore parseRegistryStore(const std::string& text);

// "HKLM" and the other short root names; empty for a handle that is no root.
std::string registryRootName(uint32_t root);

}  // namespace qm
