#include "platform/profile_encoding.h"

#include <cstdint>

namespace qm {
namespace {

// Code page 1252 differs from Latin-1 only in 0x80-0x9F; its five unused codes map to the
// C1 controls of the same number, as Windows converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next character of UTF-8 text; a broken sequence gives its first byte as Latin-1.
char32_t nextUtf8(std::string_view text, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || at + length > text.size()) return byte(at++);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return byte(at++);
        c = c << 6 | (byte(at + i) & 0x3F);
    }
    at += length;
    return c;
}

char16_t unitAt(std::string_view bytes, size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
}

void appendUnit(std::string& out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

char ansiOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

bool isUtf16LeText(std::string_view fileBytes) { return fileBytes.substr(0, 2) == kUtf16LeMark; }

std::string utf8FromUtf16Le(std::string_view bytes) {
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = unitAt(bytes, i);
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const char16_t low = i + 3 < bytes.size() ? unitAt(bytes, i + 2) : 0;
        if (high && low >= 0xDC00 && low < 0xE000) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
        } else {
            appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
        }
    }
    return out;
}

std::string utf16LeFromUtf8(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const char32_t c = nextUtf8(text, at);
        if (c < 0x10000) {
            appendUnit(out, c);
        } else {
            appendUnit(out, 0xD800 + ((c - 0x10000) >> 10));
            appendUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string utf8FromAnsi(std::string_view ansi) {
    std::string out;
    for (char byte : ansi) {
        const auto b = static_cast<unsigned char>(byte);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
    }
    return out;
}

std::string ansiFromUtf8(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) out += ansiOf(nextUtf8(text, at));
    return out;
}

}  // namespace qm
