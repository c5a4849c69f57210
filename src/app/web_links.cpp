#include "app/web_links.h"

#include "base/trap.h"
#include "context/main_controls.h"

namespace qm {

namespace {

constexpr const char* kHelpPath = "/quillmere-help/";

// The module procedures' form of the call.
void openUnowned(ShellPort& shell, const std::string& address) {
    shell.shellExecute(false, "Open", address, std::string(), "C:\\", SW_SHOWNORMAL_);
}

// The About page labels' form of the call.
void openOwned(ShellPort& shell, const std::string& address) {
    shell.shellExecute(true, "Open", address, "", "", SW_SHOWNORMAL_);
}

}  // namespace

std::string websiteAddress() { return std::string("https://") + kWebsiteHost; }

std::string websitePage(const std::string& path) { return websiteAddress() + path; }

void openWebsite(ShellPort& shell) { openUnowned(shell, websitePage("/")); }
void openHelpPage(ShellPort& shell) { openUnowned(shell, websitePage(kHelpPath)); }
void openDownloadPage(ShellPort& shell) { openUnowned(shell, websitePage("/download-quillmere.html")); }
void openFarewellPage(ShellPort& shell) { openUnowned(shell, websitePage("/thankyou-for-using-quillmere.php")); }

void lblHelp_Click(ShellPort& shell) { openOwned(shell, websitePage(kHelpPath)); }

void lblWebsite_Click(ShellPort& shell) {
    ignoreErrors([&] { openOwned(shell, websiteAddress()); });
}

void attachAboutLinks(Form& frmMain, ShellPort& shell) {
    Label& website = frmMain.get(mainForm::lblWebsite);
    website.setCaption(websiteAddress());
    website.onClick = [&shell] { lblWebsite_Click(shell); };
    frmMain.get(mainForm::lblHelp).onClick = [&shell] { lblHelp_Click(shell); };
}

}  // namespace qm
