#include "ui/win32/resources.h"

#include <algorithm>
#include <cctype>

namespace qm::win32 {

namespace {

// Resources are named in capitals in the resource script.
std::string resourceName(const std::string& name) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    return upper;
}

}  // namespace

HBITMAP resourceBitmap(const std::string& name) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), resourceName(name).c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION));
}

HICON resourceIcon(const std::string& name, int size) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), resourceName(name).c_str(), IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace qm::win32
