#include "memory/release_report.h"

#include "base/catalogue.h"

namespace qm {

namespace {

constexpr uint64_t kBytesPerMB = 1024ull * 1024ull;

int64_t mb(uint64_t bytes) { return static_cast<int64_t>((bytes + kBytesPerMB / 2) / kBytesPerMB); }

// Composed in the user's language piece by piece: the sentence has too many forms for one
// pattern.
std::string change(const char* what, uint64_t before, uint64_t after) {
    const std::string from = std::to_string(mb(before)), to = std::to_string(mb(after));
    if (after > before) return formatText(shown(N_("%1 rose from %2 to %3 MB")), {shown(what), from, to});
    if (after < before) return formatText(shown(N_("%1 fell from %2 to %3 MB")), {shown(what), from, to});
    return formatText(shown(N_("%1 stayed at %2 MB")), {shown(what), from});
}

}  // namespace

int64_t freedMB(const ReleaseResult& r) { return mb(r.after.freePhys) - mb(r.before.freePhys); }

std::string releaseResultText(const ReleaseResult& r) {
    const int64_t freed = freedMB(r);
    std::string text = freed > 0 ? formatText(shown(N_("Released %1 MB: ")), {std::to_string(freed)})
                                 : shown(N_("Released nothing: "));
    const bool freeApart = r.before.freePhys != r.before.availPhys || r.after.freePhys != r.after.availPhys;
    if (!freeApart) return text + change(N_("available memory"), r.before.availPhys, r.after.availPhys) + ".";
    return text + change(N_("free memory"), r.before.freePhys, r.after.freePhys) + "; " +
           change(N_("available memory"), r.before.availPhys, r.after.availPhys) + ".";
}

}  // namespace qm
