#include "update/auto_update.h"

#include "update/auto_update_controls.h"


#include "base/convert.h"
#include "base/text.h"
#include "settings/mod_reg.h"
#include "update/auto_update_layout.h"
#include "update/download_checks.h"
#include "update/reg_strings.h"
#include "update/update_site.h"

namespace qm {

namespace {

constexpr const char* kVersionPath = "/qmx.txt";
constexpr int kDownloadAttempts = 6;

}  // namespace

frmAutoUpdate::frmAutoUpdate(SubsystemContext& ctx, std::string site) : ctx_(ctx), site_(std::move(site)) {
    declareAutoUpdateLayout(form_);
    form_.get(updateForm::cmdProceed).onClick = [this] { cmdProceed_Click(); };
    form_.get(updateForm::cmdCancel).onClick = [this] { cmdCancel_Click(); };
    form_.onQueryUnload = [this](int&, int) { Form_Unload(); };
}

// The product site itself is the probe: no third party learns that the program runs.
bool frmAutoUpdate::isOnline() {
    bool online = false;
    ignoreErrors([&] {
        ctx_.host.doEvents();
        online = ctx_.platform.internet.probe(site_ + "/");
    });
    return online;
}

int32_t frmAutoUpdate::getRemoteSize(const std::string& url) {
    InternetPort& inet = ctx_.platform.internet;
    inet.cancel();
    const std::string headers = inet.headers(url);
    while (inet.stillExecuting()) ctx_.host.doEvents();
    return announcedSize(headers);
}

std::string frmAutoUpdate::fetch(const std::string& url) {
    InternetPort& inet = ctx_.platform.internet;
    inet.cancel();
    std::string body = inet.openUrl(url);
    while (inet.stillExecuting()) ctx_.host.doEvents();
    return body;
}

// A version file that holds no number (an empty or failed fetch) offers nothing and
// leaves the installed version alone.
bool frmAutoUpdate::checkForUpdate(const std::string& installedVersion) {
    if (!isOnline()) return false;
    if (getRemoteSize(site_ + kVersionPath) <= 0) return false;
    const std::optional<int16_t> published = publishedVersion(fetch(site_ + kVersionPath));
    if (!published) return false;
    const int16_t remote = *published;
    const int16_t local = toInt16(val(installedVersion));
    if (remote == local) return false;
    newVersion_ = std::to_string(remote);
    if (remote > local) return true;
    writeRegString(ctx_.platform.registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kVersionValue, newVersion_);
    return false;
}

bool frmAutoUpdate::refuse(const std::string& reason) {
    form_.get(updateForm::StatusBar1).setSimpleText(reason);
    return false;
}

// Only the program built for this machine, exactly as long as announced and signed by a
// key built into this program, is ever written.
bool frmAutoUpdate::downloadChecked(std::string& bytes) {
    ProgramUpdatePort& update = ctx_.platform.update;
    const std::string url = site_ + remoteProgramPath(update.ownKind());
    const int32_t size = getRemoteSize(url);
    if (size < 1) return refuse("The new version was not found.");
    bytes = fetch(url);
    if (!lengthAccepted(bytes, size)) return refuse("The download was incomplete.");
    if (programKindOf(bytes) != update.ownKind()) return refuse("The download is no program for this computer.");
    const std::optional<std::string> signature = signatureFromDer(fetch(url + ".sig"));
    if (!signature || !update.signatureValid(bytes, *signature)) return refuse("The download is not signed by Quillmere.");
    return true;
}

bool frmAutoUpdate::downloadUpdate() {
    if (!isOnline()) return refuse("The website cannot be reached.");
    std::string bytes;
    if (!downloadChecked(bytes)) return false;
    const std::string target = downloadPath(ctx_.platform);
    if (ctx_.platform.files.fileExists(target)) ctx_.platform.files.remove(target);
    ctx_.platform.update.saveProgram(target, bytes);
    ctx_.host.doEvents();
    return true;
}

void frmAutoUpdate::recordUpgrade() {
    RegistryPort& registry = ctx_.platform.registry;
    writeRegString(registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kDownloadedAtValue, dateTimeText(ctx_.platform.clock.now()));
    writeRegString(registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kVersionValue, newVersion_);
    writeRegString(registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kUpgradeStateValue, kUpgradeReplace);
    writeRegString(registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kThanksRequestValue, kThanksRequested);
}

bool frmAutoUpdate::installUpdate() {
    bool downloaded = false;
    for (int attempt = 0; attempt < kDownloadAttempts && !downloaded && !cancelled_; ++attempt) {
        downloaded = downloadUpdate();
    }
    if (!downloaded) return false;
    recordUpgrade();
    ctx_.platform.shell.startProgram(runCommand(downloadPath(ctx_.platform)));
    ctx_.host.endProgram();
    return true;
}

void frmAutoUpdate::addRow(const std::string& text, int picture) {
    form_.get(updateForm::ListView1).addItem(text, picture);
}

void frmAutoUpdate::runCheck(Trap& t) {
    t([&] { form_.get(updateForm::ListView1).clear(); });
    t([&] { addRow(kRowChecking, kPictureProgress); });
    if (!ctx_.platform.update.canReplaceProgram()) return addRow(kRowPackageManaged, kPictureFailure);
    bool online = false;
    t([&] { online = isOnline(); });
    if (!online) return addRow(kRowOffline, kPictureFailure);
    std::string installed;
    t([&] { installed = ensureRegString(ctx_.platform.registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kVersionValue, kInstalledVersion); });
    bool offered = false;
    t([&] { offered = checkForUpdate(installed); });
    if (!offered) return addRow(kRowNoUpdate, kPictureFailure);
    for (const char* row : {kRowAvailable, kRowDownloading}) t([&] { addRow(row, kPictureProgress); });
    for (const char* row : {kRowMayTakeTime, kRowConnectionSpeed}) t([&] { addRow(row, 0); });
    bool handedOver = false;
    t([&] { handedOver = installUpdate(); });
    if (!handedOver && !cancelled_) t([&] { addRow(kRowDownloadFailed, kPictureFailure); });
}

// Proceed is off while a check runs, so a second click cannot start a second one inside it.
void frmAutoUpdate::cmdProceed_Click() {
    Trap t(ctx_.log, form_.name() + ",cmd_Proceed");
    CommandButton& proceed = form_.get(updateForm::cmdProceed);
    cancelled_ = false;
    proceed.setEnabled(false);
    t([&] { form_.get(updateForm::StatusBar1).setSimpleText(""); });
    runCheck(t);
    proceed.setEnabled(true);
}

// Cancel stops the transfer the check is waiting for, and the check with it.
void frmAutoUpdate::cmdCancel_Click() {
    cancelled_ = true;
    ignoreErrors([&] { ctx_.platform.internet.cancel(); });
    form_.hide();
}

void frmAutoUpdate::Form_Unload() {
    cancelled_ = true;
    ignoreErrors([&] {
        if (ctx_.platform.internet.stillExecuting()) ctx_.platform.internet.cancel();
    });
}

void showAutoUpdate(SubsystemContext& ctx) {
    frmAutoUpdate window(ctx, updateSite());
    ctx.host.attach(window.form());
    ctx.host.showModal(window.form(), ctx.frmMain);
}


}  // namespace qm
