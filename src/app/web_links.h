#pragma once
// The product website's pages, opened in the user's default browser, and the two link
// labels of the About page.
#include <string>

#include "forms/form.h"
#include "platform/shell.h"

namespace qm {

// The product website. A reserved example domain, so that no third party is contacted.
inline constexpr const char* kWebsiteHost = "www.quillmere.example";

// The site's address without a trailing "/" (what the About page shows and opens).
std::string websiteAddress();
// The address of a page of the site; `path` begins with "/".
std::string websitePage(const std::string& path);

// Module procedures: no owner window, no parameters, "C:\" as the working folder. They
// trap nothing, so a failure goes to the caller's trap.
void openWebsite(ShellPort& shell);
void openHelpPage(ShellPort& shell);
void openDownloadPage(ShellPort& shell);
void openFarewellPage(ShellPort& shell);

// The About page's labels: owned by the main window, empty parameters and folder.
void lblHelp_Click(ShellPort& shell);
void lblWebsite_Click(ShellPort& shell);  // errors ignored

// Shows the address in lblWebsite and attaches both labels' click handlers.
void attachAboutLinks(Form& frmMain, ShellPort& shell);

}  // namespace qm
