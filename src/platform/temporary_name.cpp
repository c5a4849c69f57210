#include "platform/temporary_name.h"

#include <chrono>
#include <string_view>

namespace qm {
namespace {

constexpr std::string_view kMark = ".qmtmp-";
constexpr size_t kRandomChars = 6;
constexpr size_t kMaxNamePart = 200;  // a folder entry holds 255
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool allOf(std::string_view text, bool (*accepted)(char)) {
    for (char c : text)
        if (!accepted(c)) return false;
    return !text.empty();
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) { return kAlphabet.find(c) != std::string_view::npos; }

}  // namespace

std::string temporaryNameFor(const std::string& fileName, unsigned long processId, unsigned long long serial) {
    unsigned long long seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count()) ^ (serial * 0x9E3779B97F4A7C15ull);
    std::string name = "." + fileName.substr(0, kMaxNamePart) + std::string(kMark) + std::to_string(processId) + "-";
    for (size_t i = 0; i < kRandomChars; ++i, seed /= kAlphabet.size()) name += kAlphabet[seed % kAlphabet.size()];
    return name;
}

std::optional<unsigned long> temporaryWriter(const std::string& name) {
    const size_t mark = name.rfind(kMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) return std::nullopt;
    const std::string_view rest = std::string_view(name).substr(mark + kMark.size());
    const size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash > 10 || rest.size() - dash - 1 != kRandomChars) return std::nullopt;
    if (!allOf(rest.substr(0, dash), isDigit) || !allOf(rest.substr(dash + 1), isAlnum)) return std::nullopt;
    return std::stoul(std::string(rest.substr(0, dash)));
}

}  // namespace qm
