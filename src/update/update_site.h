#pragma once
// The product website the update code talks to, and the files of an upgrade.
#include <string>

#include "platform/platform.h"

namespace qm {

inline constexpr const char* kDefaultSite = "https://www.quillmere.example";

// The site's address without a trailing "/": `configured` when it names one, else the default.
std::string siteAddress(const char* configured);
// The site named by QUILLMERE_SITE (private mirrors, tests), else the product's own.
std::string updateSite();

// The downloaded new version in the program folder ("qmx.exe", or "qmx" on Linux).
std::string downloadPath(Platform& platform);

}  // namespace qm
