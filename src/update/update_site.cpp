#include "update/update_site.h"

#include <cstdlib>

#include "update/download_checks.h"
#include "base/text.h"

namespace qm {

std::string siteAddress(const char* configured) {
    std::string site = configured && *configured ? configured : kDefaultSite;
    while (!site.empty() && site.back() == '/') site.pop_back();
    return site;
}

std::string updateSite() { return siteAddress(std::getenv("QUILLMERE_SITE")); }

std::string downloadPath(Platform& platform) {
    const std::string folder = addBackslash(platform.programFolder.folder(), platform.programFolder.separator());
    return folder + downloadFileName(platform.update.ownKind());
}

}  // namespace qm
