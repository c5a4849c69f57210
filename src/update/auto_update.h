#pragma once
// frmAutoUpdate: checks the website for a newer version number, downloads the program
// built for this machine, checks it and hands over to it; the start-up steps finish the
// replacement. All transfers go through the main window's transfer control.
#include <cstdint>
#include <string>

#include "base/catalogue.h"
#include "context/subsystem_context.h"
#include "forms/form.h"

namespace qm {

// The list rows, as the user reads them.
inline constexpr const char* kRowChecking = N_("Checking for updates...");
inline constexpr const char* kRowOffline = N_("You are currently not conneted to the Internet");
inline constexpr const char* kRowNoUpdate = N_("No new update available.");
inline constexpr const char* kRowAvailable = N_("New Update available.");
inline constexpr const char* kRowDownloading = N_("Dowanloading New Version...Please wait.");
inline constexpr const char* kRowMayTakeTime = N_("This may take some time...");
inline constexpr const char* kRowConnectionSpeed = N_("Depending on your Internet connection speed");
inline constexpr const char* kRowDownloadFailed = N_("The new version could not be downloaded.");
inline constexpr const char* kRowPackageManaged =
    N_("This copy of Quillmere is updated by the system's package manager.");

class frmAutoUpdate {
public:
    frmAutoUpdate(SubsystemContext& ctx, std::string site);
    frmAutoUpdate(const frmAutoUpdate&) = delete;
    frmAutoUpdate& operator=(const frmAutoUpdate&) = delete;

    Form& form() { return form_; }
    const std::string& newVersion() const { return newVersion_; }

    bool isOnline();
    // The size the headers of `url` announce; 0 when not found. (The classic text and
    // byte variants differ only in the body of the probing request, which a header
    // request does not carry.)
    int32_t getRemoteSize(const std::string& url);
    bool checkForUpdate(const std::string& installedVersion);
    bool downloadUpdate();
    // Returns only when no new version could be installed; on success the program ends.
    bool installUpdate();

    void cmdProceed_Click();
    void cmdCancel_Click();
    void Form_Unload();

private:
    void runCheck(Trap& t);
    void addRow(const std::string& text, int picture);
    std::string fetch(const std::string& url);
    bool refuse(const std::string& reason);
    bool downloadChecked(std::string& bytes);
    void recordUpgrade();

    SubsystemContext& ctx_;
    std::string site_;
    Form form_{"frmAutoUpdate"};
    std::string newVersion_;
    bool cancelled_ = false;
};

// The Help menu's command: shows the update window modally over the main window.
void showAutoUpdate(SubsystemContext& ctx);

}  // namespace qm
