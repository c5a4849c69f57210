#include "platform/posix/posix_cpu.h"

#include <time.h>
#include <unistd.h>

#include <charconv>
#include <iterator>

namespace qm {

namespace {

constexpr int64_t kUnitsPerSecond = 10'000'000;  // 100 ns units
constexpr long kMaxProcessors = 255;

// The lines of /proc/stat labelled "cpu" and one more character that `follows` accepts.
template <class Follows, class Each>
void cpuLines(std::string_view text, Follows follows, Each each) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        if (line.size() > 3 && line.substr(0, 3) == "cpu" && follows(line[3]) && !each(line)) return;
        pos = end + 1;
    }
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view aggregateLine(std::string_view text) {
    std::string_view found;
    cpuLines(text, isBlank, [&](std::string_view line) { return found = line, false; });
    return found;
}

// The whole-number fields after the label, the first few of them kept: read every second,
// so without a vector grown field by field. Nullopt when one of them is not a number.
struct StatFields {
    size_t count = 0;
    uint64_t first[5] = {};
};
std::optional<StatFields> fields(std::string_view line) {
    StatFields values;
    size_t pos = 3;
    while (true) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r')) ++pos;
        if (pos >= line.size()) return values;
        uint64_t value = 0;
        const auto [next, error] = std::from_chars(line.data() + pos, line.data() + line.size(), value);
        if (error != std::errc() || (next < line.data() + line.size() && *next != ' ' && *next != '\t' && *next != '\r'))
            return std::nullopt;
        if (values.count < std::size(values.first)) values.first[values.count] = value;
        ++values.count;
        pos = static_cast<size_t>(next - line.data());
    }
}

int64_t monotonic100ns() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kUnitsPerSecond + now.tv_nsec / 100;
}

}  // namespace

std::optional<uint64_t> parseProcStat(std::string_view text) {
    const std::string_view line = aggregateLine(text);
    if (line.empty()) return std::nullopt;
    const auto values = fields(line);
    if (!values || values->count < 4) return std::nullopt;  // user nice system idle [iowait ...]
    const uint64_t idle = values->first[3], iowait = values->count > 4 ? values->first[4] : 0;
    return idle > UINT64_MAX - iowait ? UINT64_MAX : idle + iowait;  // absurd counters saturate
}

namespace {

// One number of a CPU list, moving `pos` past it.
std::optional<long> listNumber(std::string_view text, size_t& pos) {
    long value = 0;
    const auto [next, error] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (error != std::errc() || value < 0) return std::nullopt;
    pos = static_cast<size_t>(next - text.data());
    return value;
}

}  // namespace

std::optional<long> parseCpuList(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
    long count = 0;
    for (size_t pos = 0; pos < text.size();) {
        const std::optional<long> first = listNumber(text, pos);
        std::optional<long> last = first;
        if (first && pos < text.size() && text[pos] == '-') last = listNumber(text, ++pos);
        if (!last || *last < *first || (pos < text.size() && text[pos] != ',')) return std::nullopt;
        count += *last - *first + 1;
        if (pos < text.size() && ++pos == text.size()) return std::nullopt;  // a comma at the end
    }
    return count > 0 ? std::optional<long>(count) : std::nullopt;
}

CpuCounters cpuCountersFrom(uint64_t idleJiffies, long clockTicksPerSecond, long onlineCpus, int64_t clock100ns) {
    const uint64_t ticks = static_cast<uint64_t>(clockTicksPerSecond);
    // Split so that the product cannot overflow for any realistic uptime; beyond that the
    // time saturates rather than wrap to a negative idle time.
    constexpr uint64_t kLargestIdle = INT64_MAX;
    uint64_t idle = idleJiffies / ticks > kLargestIdle / kUnitsPerSecond - 1
                        ? kLargestIdle
                        : idleJiffies / ticks * kUnitsPerSecond + idleJiffies % ticks * kUnitsPerSecond / ticks;
    const long cpus = onlineCpus < 1 ? 1 : onlineCpus;
    if (cpus > kMaxProcessors) idle = static_cast<uint64_t>(static_cast<double>(idle) * kMaxProcessors / cpus);
    const long counted = cpus > kMaxProcessors ? kMaxProcessors : cpus;
    return CpuCounters{static_cast<uint8_t>(counted), static_cast<int64_t>(idle), clock100ns};
}

long processorLines(std::string_view text) {
    long count = 0;
    cpuLines(text, isDigit, [&](std::string_view) { return ++count, true; });
    return count;
}

// The stat text already lists them; only where it does not is the online list read, and
// where that cannot be read either the C library counts them its own way.
long PosixCpu::onlineProcessors(std::string_view statText) {
    if (const long lines = processorLines(statText)) return lines;
    const std::optional<std::string_view> text = online_.read();
    const std::optional<long> count = text ? parseCpuList(*text) : std::nullopt;
    return count ? *count : sysconf(_SC_NPROCESSORS_ONLN);
}

std::optional<CpuCounters> PosixCpu::readCounters() {
    const std::optional<std::string_view> text = stat_.read();
    const std::optional<uint64_t> idle = text ? parseProcStat(*text) : std::nullopt;
    const long ticks = sysconf(_SC_CLK_TCK);
    if (!idle || ticks <= 0) return std::nullopt;
    return cpuCountersFrom(*idle, ticks, onlineProcessors(*text), monotonic100ns());
}

}  // namespace qm
