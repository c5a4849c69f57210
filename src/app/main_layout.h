#pragma once
// The main window's design: every control with its name, design caption, geometry in
// twips, colours and design-time contents. Both desktops build the window from this.
#include "context/layout_helpers.h"
#include "forms/form.h"

namespace qm {

// Declares all controls of frmMain; subsystems look them up by name.
void declareMainLayout(Form& frmMain);

// The seven page frames in tab order, and their hidden caption labels.
inline constexpr const char* kPageFrames[7] = {"fmRAM",   "fmAutomatic", "fmTime", "fmLauncher",
                                               "fmGraph", "fmStartup",   "fmAbout"};
inline constexpr const char* kPageLabels[7] = {"lblReleaseRAMN",    "lblAutomaticN",     "lblTimeIntervalsN",
                                               "lblLauncherN",      "lblHistoryGraphsN", "lblStartupOtherN",
                                               "lblAboutN"};

// Page contents, one function per page (main_layout_pages.cpp).
void declareReleasePage(Form& frm, Frame& page);
void declareAutomaticPage(Form& frm, Frame& page);
void declareTimePage(Form& frm, Frame& page);
void declareLauncherPage(Form& frm, Frame& page);
void declareGraphPage(Form& frm, Frame& page);
void declareStartupPage(Form& frm, Frame& page);
void declareAboutPage(Form& frm, Frame& page);

}  // namespace qm
