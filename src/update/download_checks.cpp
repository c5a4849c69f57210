#include "update/download_checks.h"

#include "base/app_error.h"
#include "base/convert.h"
#include "base/text.h"

namespace qm {

namespace {

constexpr const char* kLengthField = "content-length:";

uint32_t littleEndian(const std::string& bytes, size_t at, int width) {
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

ProgramKind peKind(const std::string& bytes) {
    if (bytes.size() < 0x40) return ProgramKind::Unknown;
    const uint32_t header = littleEndian(bytes, 0x3C, 4);
    if (header > bytes.size() || bytes.size() - header < 6) return ProgramKind::Unknown;
    if (bytes.compare(header, 4, std::string("PE\0\0", 4)) != 0) return ProgramKind::Unknown;
    switch (littleEndian(bytes, header + 4, 2)) {
        case 0x014C: return ProgramKind::PeI386;
        case 0x8664: return ProgramKind::PeAmd64;
        default: return ProgramKind::Unknown;
    }
}

// 64-bit, little-endian, an executable or position-independent program, for x86-64.
ProgramKind elfKind(const std::string& bytes) {
    if (bytes.size() < 20 || bytes[4] != 2 || bytes[5] != 1) return ProgramKind::Unknown;
    const uint32_t type = littleEndian(bytes, 16, 2);
    if (type != 2 && type != 3) return ProgramKind::Unknown;
    return littleEndian(bytes, 18, 2) == 62 ? ProgramKind::ElfX8664 : ProgramKind::Unknown;
}

// One DER INTEGER at `at`, as 32 big-endian bytes; moves `at` past it.
std::optional<std::string> derInteger(const std::string& der, size_t& at) {
    if (der.size() - at < 2 || der[at] != 0x02) return std::nullopt;
    const size_t length = static_cast<unsigned char>(der[at + 1]);
    at += 2;
    if (length == 0 || length > 33 || der.size() - at < length) return std::nullopt;
    std::string digits = der.substr(at, length);
    at += length;
    if (static_cast<unsigned char>(digits[0]) & 0x80) return std::nullopt;  // negative
    if (digits.size() == 33 && digits[0] != '\0') return std::nullopt;
    if (digits.size() == 33) digits.erase(0, 1);
    return std::string(32 - digits.size(), '\0') + digits;
}

}  // namespace

std::optional<std::string> signatureFromDer(const std::string& der) {
    if (der.size() < 8 || der[0] != 0x30 || static_cast<unsigned char>(der[1]) != der.size() - 2) return std::nullopt;
    size_t at = 2;
    const std::optional<std::string> r = derInteger(der, at);
    const std::optional<std::string> s = r ? derInteger(der, at) : std::nullopt;
    if (!s || at != der.size()) return std::nullopt;
    return *r + *s;
}

int32_t announcedSize(const std::string& headers) {
    if (headers.find("404") != std::string::npos) return 0;
    const size_t field = toLowerAscii(headers).rfind(kLengthField);
    if (field == std::string::npos) return 0;
    const size_t start = field + std::string(kLengthField).size();
    const size_t end = headers.find("\r\n", start);
    if (end == std::string::npos) raiseError(errInvalidCall);
    return toInt32(val(trimBlanks(headers.substr(start, end - start))));
}

std::optional<int16_t> publishedVersion(const std::string& text) {
    const std::string trimmed = trimBlanks(text);
    if (trimmed.empty() || trimmed[0] < '0' || trimmed[0] > '9') return std::nullopt;
    return toInt16(val(trimmed));
}

ProgramKind programKindOf(const std::string& bytes) {
    if (bytes.compare(0, 2, "MZ") == 0) return peKind(bytes);
    if (bytes.compare(0, 4, "\x7F" "ELF") == 0) return elfKind(bytes);
    return ProgramKind::Unknown;
}

bool lengthAccepted(const std::string& bytes, int32_t announced) {
    return bytes.size() > 1000 && bytes.size() == static_cast<uint64_t>(announced);
}

std::string remoteProgramPath(ProgramKind kind) {
    switch (kind) {
        case ProgramKind::PeAmd64: return "/qmxupdate64.exe";
        case ProgramKind::ElfX8664: return "/qmxupdate-linux-x86_64";
        default: return "/qmxupdate.exe";
    }
}

std::string downloadFileName(ProgramKind kind) { return kind == ProgramKind::ElfX8664 ? "qmx" : "qmx.exe"; }

}  // namespace qm
