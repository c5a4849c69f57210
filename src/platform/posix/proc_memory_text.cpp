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
        const uint64_t digit = static_cast<uint64_t>(text[pos] - '0');
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
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

// " 1234 kB" after a field's colon, in bytes; nullopt when unreadable or too large.
std::optional<uint64_t> kbValue(std::string_view rest) {
    size_t end = 0;
    const auto kb = leadingNumber(rest, end);
    if (!kb || *kb > std::numeric_limits<uint64_t>::max() / kKB) return std::nullopt;
    const std::string_view unit = rest.substr(end);
    if (unit != " kB" && unit != " kB\r" && !unit.empty()) return std::nullopt;
    return *kb * kKB;
}

// The fields the memory status needs, found in one pass: the tick reads this text every
// second, and a search per field walked the lines above each field again.
enum MeminfoField { kTotal, kAvailable, kFree, kBuffers, kCached, kSwapTotal, kSwapFree, kFieldCount };
constexpr std::string_view kFieldNames[kFieldCount] = {"MemTotal", "MemAvailable", "MemFree", "Buffers",
                                                       "Cached", "SwapTotal", "SwapFree"};

struct FoundFields {
    bool seen[kFieldCount] = {};
    std::optional<uint64_t> bytes[kFieldCount];
};

// Each field from its first line, broken or not, as a search for it would find it.
void takeField(FoundFields& found, std::string_view line, int& left) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const std::string_view name = line.substr(0, colon);
    for (int f = 0; f < kFieldCount; ++f) {
        if (found.seen[f] || name != kFieldNames[f]) continue;
        found.seen[f] = true;
        found.bytes[f] = kbValue(line.substr(colon + 1));
        --left;
        return;
    }
}

FoundFields meminfoFields(std::string_view text) {
    FoundFields found;
    int left = kFieldCount;
    for (size_t start = 0; start < text.size() && left > 0;) {
        size_t stop = text.find('\n', start);
        if (stop == std::string_view::npos) stop = text.size();
        takeField(found, text.substr(start, stop - start), left);
        start = stop + 1;
    }
    return found;
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
    const FoundFields found = meminfoFields(text);
    const auto& bytes = found.bytes;
    if (!bytes[kTotal]) return std::nullopt;
    Meminfo info;
    info.memTotal = *bytes[kTotal];
    if (bytes[kAvailable]) {
        info.memAvailable = *bytes[kAvailable];
    } else {
        if (!bytes[kFree]) return std::nullopt;
        info.memAvailable =
            saturatingAdd(*bytes[kFree], saturatingAdd(bytes[kBuffers].value_or(0), bytes[kCached].value_or(0)));
    }
    info.memAvailable = std::min(info.memAvailable, info.memTotal);
    info.memFree = std::min(bytes[kFree].value_or(info.memAvailable), info.memAvailable);
    info.swapTotal = bytes[kSwapTotal].value_or(0);
    info.swapFree = std::min(bytes[kSwapFree].value_or(0), info.swapTotal);
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
    status.freePhys = std::min(info.memFree, status.availPhys);
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
