#include "update/post_upgrade.h"

#include "base/text.h"
#include "settings/mod_reg.h"
#include "update/reg_strings.h"
#include "update/update_site.h"

namespace qm {

namespace {

constexpr const char* kContext = "modUpdate,postUpgradeCheck";
// How long the old process may hold its file, one attempt a second; bounded, so a file
// that stays locked never keeps the program from starting.
constexpr int kReplaceAttempts = 30;
constexpr int kRemoveAttempts = 10;

class Upgrade {
public:
    Upgrade(Host& host, Platform& platform, ErrorSink& log, std::string site)
        : host_(host), platform_(platform), log_(log), site_(std::move(site)), download_(downloadPath(platform)) {}

    bool replaceAndRestart();
    void finish();

private:
    ReplaceResult replaceWhileInUse();
    bool handOverToDownload();
    bool keepOldProgram();
    void removeDownload();
    void setState(const char* state) { writeRegString(platform_.registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kUpgradeStateValue, state); }
    void thankOnce();

    Host& host_;
    Platform& platform_;
    ErrorSink& log_;
    std::string site_;
    std::string download_;
};

ReplaceResult Upgrade::replaceWhileInUse() {
    const std::string program = platform_.update.programPath();
    ReplaceResult result = ReplaceResult::Failed;
    for (int attempt = 1; attempt <= kReplaceAttempts; ++attempt) {
        result = ReplaceResult::Failed;
        ignoreErrors([&] { result = platform_.update.replaceProgram(download_, program); });
        if (result != ReplaceResult::InUse) break;
        waitSeconds(host_, platform_.clock, 1);
    }
    return result;
}

// A start of the program file itself finds an upgrade whose download was never started
// (the window's process was ended first): a running file cannot be replaced, so the
// download is started to do it. When it cannot be, this start goes on normally.
bool Upgrade::handOverToDownload() {
    bool present = false;
    ignoreErrors([&] { present = platform_.files.fileExists(download_); });
    if (!present || !ignoreErrors([&] { platform_.shell.startProgram(runCommand(download_)); })) return false;
    host_.endProgram();
    return true;
}

bool Upgrade::keepOldProgram() {
    setState(kUpgradeIdle);
    log_.logError(kContext, errPathFileAccess, "The program file could not be replaced");
    return true;
}

// The old program stays in place until the checked copy replaces it in one step. When
// that cannot be done the old one is kept, the state goes back to idle and this start
// goes on normally, so no start ever hands on to another but the download.
bool Upgrade::replaceAndRestart() {
    if (platform_.update.runsProgramFile()) return !handOverToDownload() && keepOldProgram();
    if (replaceWhileInUse() != ReplaceResult::Replaced) return keepOldProgram();
    setState(kUpgradeFinish);
    ignoreErrors([&] { platform_.shell.startProgram(runCommand(platform_.update.programPath())); });
    host_.endProgram();
    return false;
}

// The download may still be running for a moment after it started the new program.
void Upgrade::removeDownload() {
    for (int attempt = 1; attempt <= kRemoveAttempts; ++attempt) {
        bool present = true;
        ignoreErrors([&] { present = platform_.files.fileExists(download_); });
        if (!present) return;
        ignoreErrors([&] { platform_.files.remove(download_); });
        if (attempt < kRemoveAttempts) waitSeconds(host_, platform_.clock, 1);
    }
}

void Upgrade::thankOnce() {
    const std::string request = readRegString(platform_.registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kThanksRequestValue);
    const bool thank = containsNoCase(request, kThanksRequested);
    if (!request.empty() && !thank) return;
    deleteRegValue(platform_.registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kThanksRequestValue);
    if (!thank) return;
    ignoreErrors([&] { host_.msgBox(kUpgradedMessage, vbOKOnly, "Quillmere"); });
    ignoreErrors([&] { platform_.shell.shellExecute(false, "Open", site_ + "/upgrade.php", "", "", SW_SHOWNORMAL_); });
}

void Upgrade::finish() {
    removeDownload();
    setState(kUpgradeIdle);
    thankOnce();
}

}  // namespace

// The idle test comes first: a state holding both the idle and the replace letter does nothing.
UpgradeStep pendingUpgradeStep(RegistryPort& registry) {
    const std::string state = readRegString(registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kUpgradeStateValue, kUpgradeIdle);
    if (state.empty() || containsNoCase(state, kUpgradeIdle)) return UpgradeStep::None;
    if (containsNoCase(state, kUpgradeReplace)) return UpgradeStep::Replace;
    if (containsNoCase(state, kUpgradeFinish)) return UpgradeStep::Finish;
    return UpgradeStep::None;
}

bool postUpgradeCheck(Host& host, Platform& platform, ErrorSink& log, const std::string& site) {
    const UpgradeStep step = pendingUpgradeStep(platform.registry);
    if (step == UpgradeStep::None) return true;
    Upgrade upgrade(host, platform, log, site);
    if (step == UpgradeStep::Replace) return upgrade.replaceAndRestart();
    upgrade.finish();
    return true;
}

bool postUpgradeCheck(Host& host, Platform& platform, ErrorSink& log) {
    return postUpgradeCheck(host, platform, log, updateSite());
}

void waitSeconds(Host& host, ClockPort& clock, int32_t n) {
    const uint32_t until = clock.tickCount() + static_cast<uint32_t>(n) * 1000u;
    while (static_cast<int32_t>(until - clock.tickCount()) > 0) host.doEvents();
}

}  // namespace qm
