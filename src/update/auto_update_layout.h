#pragma once
// The update window frmAutoUpdate, declared as data like a form file.
#include "forms/form.h"

namespace qm {

inline constexpr const char* kAutoUpdateText =
    "AutoUpdate checks the Internet for latest upgrade of Quillmere and it updates the necessary files "
    "automatically if it finds any new update available. Please ensure that you are connected to the "
    "Internet before proceeding.";

// ImageList1's pictures, 1-based as the list rows name them.
inline constexpr int kPictureProgress = 1;
inline constexpr int kPictureFailure = 2;

void declareAutoUpdateLayout(Form& frm);

}  // namespace qm
