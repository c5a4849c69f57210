#include "platform/posix/proc_memory_text.h"

#include <algorithm>
#include <limits>

namespace qm::posix {

namespace {

constexpr uint64_t kKB = 1024;

bool isSpace(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Leading decimal digits of `text` (after blanks); nullopt without digits or on overflow.
std::optional<uint64_t> leadingNumber(std::string_view text, size_t& end) {
    size_t pos = 0;
    while (pos < text.size() && isSpace(text[pos])) ++pos;
    const size_t first = pos;
    uint64_t value = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        const auto digit = static_cast<uint64_t>(text[pos] - '0');
        if (__builtin_mul_overflow(value, 10, &value) || __builtin_add_overflow(value, digit, &value)) {
            return std::nullopt;
        }
    }
    end = pos;
    if (pos == first) return std::nullopt;
    return value;
}

// The rest of the line that starts with `prefix`, or nullopt.
std::optional<std::string_view> lineAfter(std::string_view text, std::string_view prefix) {
    for (size_t start = 0; start < text.size();) {
        size_t stop = text.find('\n', start);
        if (stop == std::string_view::npos) stop = text.size();
        const std::string_view line = text.substr(start, stop - start);
        if (line.substr(0, prefix.size()) == prefix) return line.substr(prefix.size());
        start = stop + 1;
    }
    return std::nullopt;
}

uint64_t saturatingAdd(uint64_t a, uint64_t b) {
    return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

uint64_t headroom(const CgroupLevel& level) { return level.limit > level.usage ? level.limit - level.usage : 0; }

uint64_t effectiveTotal(const Meminfo& info, const std::vector<CgroupLevel>& levels) {
    uint64_t total = info.memTotal;
    for (const CgroupLevel& level : levels) total = std::min(total, level.limit);
    return total;
}

// The value after "Name:" ("  1234 kB"), in bytes; nullopt when unreadable.
std::optional<uint64_t> kbValue(std::string_view rest) {
    size_t end = 0;
    const auto kb = leadingNumber(rest, end);
    if (!kb || *kb > std::numeric_limits<uint64_t>::max() / kKB) return std::nullopt;
    const std::string_view unit = rest.substr(end);
    if (unit != " kB" && unit != " kB\r" && !unit.empty()) return std::nullopt;
    return *kb * kKB;
}

// The fields meminfo is read for, each taken from its first line.
enum MeminfoField { kMemTotal, kMemAvailable, kMemFree, kBuffers, kCached, kSwapTotal, kSwapFree, kFieldCount };
constexpr std::string_view kFieldNames[kFieldCount] = {"MemTotal",  "MemAvailable", "MemFree", "Buffers",
                                                       "Cached",    "SwapTotal",    "SwapFree"};

struct MeminfoFields {
    std::optional<uint64_t> value[kFieldCount];
    bool seen[kFieldCount] = {};
};

// One pass over the lines: a text the size of the kernel's is read once, not per field.
MeminfoFields meminfoFields(std::string_view text) {
    MeminfoFields fields;
    for (size_t start = 0; start < text.size();) {
        size_t stop = text.find('\n', start);
        if (stop == std::string_view::npos) stop = text.size();
        const std::string_view line = text.substr(start, stop - start);
        start = stop + 1;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, colon);
        for (int f = 0; f < kFieldCount; ++f) {
            if (name != kFieldNames[f] || fields.seen[f]) continue;
            fields.seen[f] = true;
            fields.value[f] = kbValue(line.substr(colon + 1));
        }
    }
    return fields;
}

}  // namespace

std::optional<uint64_t> kbField(std::string_view text, std::string_view name) {
    char prefix[64];
    if (name.size() + 1 > sizeof prefix) return std::nullopt;
    std::copy(name.begin(), name.end(), prefix);
    prefix[name.size()] = ':';
    const auto rest = lineAfter(text, std::string_view(prefix, name.size() + 1));
    return rest ? kbValue(*rest) : std::nullopt;
}

std::optional<Meminfo> parseMeminfo(std::string_view text) {
    const MeminfoFields fields = meminfoFields(text);
    const auto& value = fields.value;
    if (!value[kMemTotal]) return std::nullopt;
    Meminfo info;
    info.memTotal = *value[kMemTotal];
    if (value[kMemAvailable]) {
        info.memAvailable = *value[kMemAvailable];
    } else {
        if (!value[kMemFree]) return std::nullopt;
        info.memAvailable = saturatingAdd(*value[kMemFree], saturatingAdd(value[kBuffers].value_or(0),
                                                                         value[kCached].value_or(0)));
    }
    info.memAvailable = std::min(info.memAvailable, info.memTotal);
    info.swapTotal = value[kSwapTotal].value_or(0);
    info.swapFree = std::min(value[kSwapFree].value_or(0), info.swapTotal);
    return info;
}

CgroupPaths parseCgroupPath(std::string_view text) {
    CgroupPaths paths;
    for (size_t start = 0; start < text.size();) {
        size_t stop = text.find('\n', start);
        if (stop == std::string_view::npos) stop = text.size();
        const std::string_view line = text.substr(start, stop - start);
        start = stop + 1;
        const size_t first = line.find(':');
        const size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos || line.size() <= second + 1 || line[second + 1] != '/') continue;
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string path(line.substr(second + 1));
        if (line.substr(0, first) == "0" && controllers.empty()) paths.unified = path;
        for (size_t c = 0; c <= controllers.size();) {
            const size_t comma = std::min(controllers.find(',', c), controllers.size());
            if (controllers.substr(c, comma - c) == "memory") paths.memoryV1 = path;
            c = comma + 1;
        }
    }
    return paths;
}

std::optional<uint64_t> parseBytes(std::string_view text) {
    size_t end = 0;
    const auto value = leadingNumber(text, end);
    if (!value) return std::nullopt;
    for (; end < text.size(); ++end) {
        if (!isSpace(text[end]) && text[end] != '\n' && text[end] != '\r') return std::nullopt;
    }
    return value;
}

std::vector<std::string> cgroupDirs(const std::string& mount, const std::string& path) {
    std::vector<std::string> dirs;
    std::string relative = path;
    while (relative.size() > 1 && relative.back() == '/') relative.pop_back();
    for (;;) {
        dirs.push_back(relative == "/" || relative.empty() ? mount : mount + relative);
        const size_t slash = relative.rfind('/');
        if (slash == std::string::npos || relative == "/" || relative.empty()) break;
        relative = slash == 0 ? "/" : relative.substr(0, slash);
    }
    return dirs;
}

uint64_t boundlessLimit(const Meminfo& info) {
    return saturatingAdd(saturatingAdd(info.memTotal, info.memTotal), info.swapTotal);
}

MemoryStatus effectiveStatus(const Meminfo& info, const std::vector<CgroupLevel>& levels) {
    MemoryStatus status;
    status.totalPhys = effectiveTotal(info, levels);
    status.availPhys = std::min(info.memAvailable, status.totalPhys);
    for (const CgroupLevel& level : levels) status.availPhys = std::min(status.availPhys, headroom(level));
    status.totalPageFile = saturatingAdd(status.totalPhys, info.swapTotal);
    status.availPageFile = saturatingAdd(status.availPhys, info.swapFree);
    return status;
}

uint64_t safeBudget(const Meminfo& info, const std::vector<CgroupLevel>& levels) {
    uint64_t room = saturatingAdd(info.memAvailable, info.swapFree);
    for (const CgroupLevel& level : levels) room = std::min(room, headroom(level));
    const uint64_t margin = effectiveTotal(info, levels) / kMarginDivisor;
    return room > margin ? room - margin : 0;
}

}  // namespace qm::posix
