#include "platform/posix/posix_registry.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "base/text.h"
#include "platform/posix/autostart_entry.h"
#include "platform/posix/posix_atomic_file.h"

namespace qm {
namespace {

constexpr long kInvalidHandle = 6;
constexpr long kMoreData = 234;
constexpr uint32_t kQueryValue = 0x0001;
constexpr size_t kMaxStoreBytes = 1024 * 1024;
constexpr size_t kMaxEntryBytes = 64 * 1024;
constexpr const char* kRunKeyPath = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool isRunKey(const std::string& path) { return equalsNoCase(path, kRunKeyPath); }

// The Run key and the keys above it exist whether or not the store mentions them.
bool isRunKeyOrAbove(const std::string& path) {
    const std::string run = toLowerAscii(kRunKeyPath), lower = toLowerAscii(path);
    return run == lower || run.rfind(lower + "\\", 0) == 0;
}

std::string fullPath(uint32_t root, std::string path) {
    const std::string rootName = registryRootName(root);
    if (rootName.empty()) return {};
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path.empty() ? rootName : rootName + "\\" + path;
}

// A value read into a buffer of maxBytes: ERROR_MORE_DATA with the part that fitted.
long deliver(const RegValue& stored, RegValue& value, uint32_t maxBytes) {
    value.type = stored.type;
    value.data = stored.data.substr(0, maxBytes);
    return stored.data.size() > maxBytes ? kMoreData : ERROR_SUCCESS_;
}

}  // namespace

PosixRegistry::PosixRegistry(std::string programFolder, std::string configHome)
    : programFolder_(std::move(programFolder)), configHome_(std::move(configHome)) {}

long PosixRegistry::open(const std::string& path, uint32_t access, RegHandle& key) {
    if (isRunKey(path) && (access & KEY_SET_VALUE_)) {
        std::error_code error;
        std::filesystem::create_directories(autostartFolder(), error);
        if (error || ::access(autostartFolder().c_str(), W_OK) != 0) return ERROR_ACCESS_DENIED_;
    }
    key = next_++;
    handles_[key] = {path, access};
    return ERROR_SUCCESS_;
}

long PosixRegistry::openKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) {
    const std::string full = fullPath(root, path);
    if (full.empty()) return kInvalidHandle;
    const bool stored = loadStore().value_or(RegistryStore{}).keyExists(full);
    if (full.find('\\') != std::string::npos && !isRunKeyOrAbove(full) && !stored) return ERROR_FILE_NOT_FOUND_;
    return open(full, access, key);
}

long PosixRegistry::createKey(uint32_t root, const std::string& path, uint32_t access, RegHandle& key) {
    const std::string full = fullPath(root, path);
    if (full.empty()) return kInvalidHandle;
    if (!isRunKeyOrAbove(full) && full.find('\\') != std::string::npos) {
        std::optional<RegistryStore> store = loadStoreToChange();
        if (!store) return ERROR_ACCESS_DENIED_;
        if (!store->keyExists(full)) {
            store->addKey(full);
            if (!saveStore(*store)) return ERROR_ACCESS_DENIED_;
        }
    }
    return open(full, access, key);
}

long PosixRegistry::queryValue(RegHandle key, const std::string& name, RegValue& value, uint32_t maxBytes) {
    OpenKey* open = handle(key);
    if (!open) return kInvalidHandle;
    if (!(open->access & kQueryValue)) return ERROR_ACCESS_DENIED_;
    if (isAutostartValue(*open, name)) return queryAutostart(value, maxBytes);
    RegistryStore store = loadStore().value_or(RegistryStore{});
    StoredKey* stored = store.findKey(open->path);
    StoredValue* found = stored ? RegistryStore::findValue(*stored, name) : nullptr;
    return found ? deliver(found->value, value, maxBytes) : ERROR_FILE_NOT_FOUND_;
}

long PosixRegistry::setValue(RegHandle key, const std::string& name, const RegValue& value) {
    OpenKey* open = handle(key);
    if (!open) return kInvalidHandle;
    if (!(open->access & KEY_SET_VALUE_)) return ERROR_ACCESS_DENIED_;
    if (isAutostartValue(*open, name)) return setAutostart(value);
    std::optional<RegistryStore> store = loadStoreToChange();
    if (!store) return ERROR_ACCESS_DENIED_;
    StoredKey& stored = store->addKey(open->path);
    if (StoredValue* old = RegistryStore::findValue(stored, name)) old->value = value;
    else stored.values.push_back({name, value});
    return saveStore(*store) ? ERROR_SUCCESS_ : ERROR_ACCESS_DENIED_;
}

long PosixRegistry::deleteValue(RegHandle key, const std::string& name) {
    OpenKey* open = handle(key);
    if (!open) return kInvalidHandle;
    if (!(open->access & KEY_SET_VALUE_)) return ERROR_ACCESS_DENIED_;
    if (isAutostartValue(*open, name)) return deleteAutostart();
    std::optional<RegistryStore> store = loadStoreToChange();
    if (!store) return ERROR_ACCESS_DENIED_;
    StoredKey* stored = store->findKey(open->path);
    StoredValue* found = stored ? RegistryStore::findValue(*stored, name) : nullptr;
    if (!found) return ERROR_FILE_NOT_FOUND_;
    stored->values.erase(stored->values.begin() + (found - stored->values.data()));
    return saveStore(*store) ? ERROR_SUCCESS_ : ERROR_ACCESS_DENIED_;
}

long PosixRegistry::closeKey(RegHandle key) { return handles_.erase(key) ? ERROR_SUCCESS_ : kInvalidHandle; }

PosixRegistry::OpenKey* PosixRegistry::handle(RegHandle key) {
    const auto found = handles_.find(key);
    return found == handles_.end() ? nullptr : &found->second;
}

bool PosixRegistry::isAutostartValue(const OpenKey& key, const std::string& name) const {
    return isRunKey(key.path) && equalsNoCase(name, "Quillmere");
}

long PosixRegistry::queryAutostart(RegValue& value, uint32_t maxBytes) {
    const SmallFile entry = readSmallFile(autostartPath(), kMaxEntryBytes);
    const auto data = entry.state == ReadState::Read ? runDataOfEntry(entry.bytes) : std::nullopt;
    if (!data) return ERROR_FILE_NOT_FOUND_;
    return deliver(RegValue{REG_SZ_, *data + '\0'}, value, maxBytes);
}

long PosixRegistry::setAutostart(const RegValue& value) {
    const std::string data(beforeNul(value.data));
    removeStaleTemporaries(autostartFolder());  // the program start only cleans its own folder
    return replaceFile(autostartPath(), autostartEntryText(data)) == 0 ? ERROR_SUCCESS_ : ERROR_ACCESS_DENIED_;
}

long PosixRegistry::deleteAutostart() {
    // Only an entry we wrote is removed; a file of the same name from elsewhere stays.
    const SmallFile entry = readSmallFile(autostartPath(), kMaxEntryBytes);
    if (entry.state != ReadState::Read || !runDataOfEntry(entry.bytes)) return ERROR_FILE_NOT_FOUND_;
    return unlink(autostartPath().c_str()) == 0 ? ERROR_SUCCESS_ : ERROR_ACCESS_DENIED_;
}

// Nothing when a store is there that cannot be read: writing then would wipe its values.
std::optional<RegistryStore> PosixRegistry::loadStore() const {
    const SmallFile file = readSmallFile(storePath(), kMaxStoreBytes);
    if (file.state == ReadState::Unreadable) return std::nullopt;
    return parseRegistryStore(file.bytes);
}

// A damaged store is read for what it holds but never rewritten, so nothing in it is lost.
std::optional<RegistryStore> PosixRegistry::loadStoreToChange() const {
    std::optional<RegistryStore> store = loadStore();
    if (store && store->damaged) return std::nullopt;
    return store;
}

bool PosixRegistry::saveStore(const RegistryStore& store) const {
    return replaceFile(storePath(), registryStoreText(store)) == 0;
}

}  // namespace qm
