#include "memory/release_report.h"

namespace qm {

namespace {

constexpr uint64_t kBytesPerMB = 1024ull * 1024ull;

int64_t mb(uint64_t bytes) { return static_cast<int64_t>((bytes + kBytesPerMB / 2) / kBytesPerMB); }

std::string change(const char* what, uint64_t before, uint64_t after) {
    const char* verb = after > before ? " rose from " : after < before ? " fell from " : " stayed at ";
    std::string text = std::string(what) + verb + std::to_string(mb(before));
    if (after != before) text += " to " + std::to_string(mb(after));
    return text + " MB";
}

}  // namespace

int64_t freedMB(const ReleaseResult& r) { return mb(r.after.freePhys) - mb(r.before.freePhys); }

std::string releaseResultText(const ReleaseResult& r) {
    const int64_t freed = freedMB(r);
    std::string text = freed > 0 ? "Released " + std::to_string(freed) + " MB: " : "Released nothing: ";
    const bool freeApart = r.before.freePhys != r.before.availPhys || r.after.freePhys != r.after.availPhys;
    if (!freeApart) return text + change("available memory", r.before.availPhys, r.after.availPhys) + ".";
    return text + change("free memory", r.before.freePhys, r.after.freePhys) + "; " +
           change("available memory", r.before.availPhys, r.after.availPhys) + ".";
}

}  // namespace qm
