// The Linux registry store on any text: what it reads writes out as a text that reads
// back to the same keys and values, and a value set through the store survives a save.
#include "fuzz_check.h"
#include "platform/posix/registry_store.h"

namespace {

bool sameStore(const qm::RegistryStore& a, const qm::RegistryStore& b) {
    if (a.keys.size() != b.keys.size()) return false;
    for (size_t k = 0; k < a.keys.size(); ++k) {
        const qm::StoredKey &x = a.keys[k], &y = b.keys[k];
        if (x.path != y.path || x.values.size() != y.values.size()) return false;
        for (size_t v = 0; v < x.values.size(); ++v) {
            const qm::StoredValue &p = x.values[v], &q = y.values[v];
            if (p.name != q.name || p.value.type != q.value.type || p.value.data != q.value.data) return false;
        }
    }
    return true;
}

// Key paths and value names as the program gives them: one line, and a key path that
// is not bracketed text of its own.
std::string oneLine(std::string text) {
    std::erase_if(text, [](char c) { return c == '\n' || c == '\r'; });
    return text.empty() ? "x" : text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string path = "HKLM\\" + oneLine(in.ConsumeRandomLengthString(40));
    const std::string name = oneLine(in.ConsumeRandomLengthString(20));
    const qm::RegValue value{in.ConsumeIntegralInRange<uint32_t>(0, 12), in.ConsumeRandomLengthString(40)};
    qm::RegistryStore store = qm::parseRegistryStore(in.ConsumeRemainingBytesAsString());

    const qm::RegistryStore reread = qm::parseRegistryStore(qm::registryStoreText(store));
    qm::fuzz::require(sameStore(store, reread), "a saved store reads back the same");

    qm::StoredKey& key = store.addKey(path);
    if (qm::StoredValue* old = qm::RegistryStore::findValue(key, name)) old->value = value;
    else key.values.push_back({name, value});
    const qm::RegistryStore saved = qm::parseRegistryStore(qm::registryStoreText(store));
    qm::fuzz::require(sameStore(store, saved), "a value set survives a save");
    return 0;
}
