#include "platform/posix/registry_store.h"

#include <cstdio>
#include <cstdlib>

#include "base/text.h"

namespace qm {
namespace {

bool isPlainString(const RegValue& v) {
    if (v.type != REG_SZ_ || v.data.empty() || v.data.back() != '\0') return false;
    for (size_t i = 0; i + 1 < v.data.size(); ++i) {
        if (static_cast<unsigned char>(v.data[i]) < 0x20) return false;
    }
    return true;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

std::string hexBytes(const std::string& data) {
    std::string out;
    char byte[4];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, i ? ",%02x" : "%02x", static_cast<unsigned char>(data[i]));
        out += byte;
    }
    return out;
}

std::string valueText(const RegValue& v) {
    if (isPlainString(v)) return quoted(v.data.substr(0, v.data.size() - 1));
    if (v.type == REG_DWORD_ && v.data.size() == 4) {
        uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v.data[static_cast<size_t>(i)]);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", n);
        return text;
    }
    if (v.type == REG_BINARY_) return "hex:" + hexBytes(v.data);
    return "hex(" + std::to_string(v.type) + "):" + hexBytes(v.data);
}

// Reads a quoted text at `pos`; moves `pos` past the closing quote. False when unclosed.
bool readQuoted(const std::string& line, size_t& pos, std::string& text) {
    if (pos >= line.size() || line[pos] != '"') return false;
    for (++pos; pos < line.size(); ++pos) {
        if (line[pos] == '"') return ++pos, true;
        if (line[pos] == '\\' && pos + 1 < line.size()) ++pos;
        text += line[pos];
    }
    return false;
}

bool parseHex(const std::string& text, std::string& data) {
    size_t pos = 0;
    while (pos < text.size()) {
        char* end = nullptr;
        const unsigned long byte = std::strtoul(text.c_str() + pos, &end, 16);
        if (end == text.c_str() + pos || byte > 255) return false;
        data += static_cast<char>(byte);
        pos = static_cast<size_t>(end - text.c_str());
        if (pos < text.size() && text[pos++] != ',') return false;
    }
    return true;
}

bool parseValue(const std::string& text, RegValue& value) {
    size_t pos = 0;
    if (readQuoted(text, pos, value.data)) {
        value.type = REG_SZ_;
        value.data += '\0';
        return pos == text.size();
    }
    if (text.rfind("dword:", 0) == 0 && text.size() == 14) {
        const uint32_t n = static_cast<uint32_t>(std::strtoul(text.c_str() + 6, nullptr, 16));
        value = {REG_DWORD_, std::string{char(n & 255), char(n >> 8 & 255), char(n >> 16 & 255), char(n >> 24)}};
        return true;
    }
    if (text.rfind("hex:", 0) == 0) return value.type = REG_BINARY_, parseHex(text.substr(4), value.data);
    const size_t close = text.find("):");
    if (text.rfind("hex(", 0) != 0 || close == std::string::npos) return false;
    value.type = static_cast<uint32_t>(std::strtoul(text.c_str() + 4, nullptr, 10));
    return parseHex(text.substr(close + 2), value.data);
}

bool parseValueLine(const std::string& line, StoredValue& stored) {
    size_t pos = 0;
    if (!readQuoted(line, pos, stored.name) || pos >= line.size() || line[pos] != '=') return false;
    return parseValue(line.substr(pos + 1), stored.value);
}

// A NUL never stands in a text of ours, not even inside a quoted value.
bool isBlankOrComment(const std::string& line) {
    if (line.find('\0') != std::string::npos) return false;
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == ';';
}

}  // namespace

StoredKey* RegistryStore::findKey(const std::string& path) {
    for (StoredKey& key : keys) {
        if (equalsNoCase(key.path, path)) return &key;
    }
    return nullptr;
}

StoredKey& RegistryStore::addKey(const std::string& path) {
    if (StoredKey* key = findKey(path)) return *key;
    keys.push_back({path, {}});
    return keys.back();
}

bool RegistryStore::keyExists(const std::string& path) const {
    const std::string lower = toLowerAscii(path);
    for (const StoredKey& key : keys) {
        const std::string stored = toLowerAscii(key.path);
        if (stored == lower || stored.rfind(lower + "\\", 0) == 0) return true;
    }
    return false;
}

StoredValue* RegistryStore::findValue(StoredKey& key, const std::string& name) {
    for (StoredValue& value : key.values) {
        if (equalsNoCase(value.name, name)) return &value;
    }
    return nullptr;
}

std::string registryStoreText(const RegistryStore& store) {
    std::string text = "; Quillmere's registry values (Linux). One [key] per section.\n";
    for (const StoredKey& key : store.keys) {
        text += "\n[" + key.path + "]\n";
        for (const StoredValue& v : key.values) text += quoted(v.name) + "=" + valueText(v.value) + "\n";
    }
    return text;
}

RegistryStore parseRegistryStore(const std::string& text) {
    RegistryStore store;
    StoredKey* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        StoredValue value;
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            current = &store.addKey(line.substr(1, line.size() - 2));
        } else if (current && parseValueLine(line, value)) {
            if (StoredValue* old = RegistryStore::findValue(*current, value.name)) *old = value;
            else current->values.push_back(value);
        } else if (!isBlankOrComment(line)) {
            store.damaged = true;
        }
    }
    return store;
}

std::string registryRootName(uint32_t root) {
    switch (root) {
    case HKEY_CLASSES_ROOT_: return "HKCR";
    case HKEY_CURRENT_USER_: return "HKCU";
    case HKEY_LOCAL_MACHINE_: return "HKLM";
    case 0x80000003u: return "HKU";
    case 0x80000005u: return "HKCC";
    default: return {};
    }
}

}  // namespace qm
