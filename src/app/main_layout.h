#pragma once
// The main window's design: every control with its name, design caption, geometry in
// twips, colours and design-time contents. Both desktops build the window from this.
#include "context/layout_helpers.h"
#include "context/main_controls.h"
#include "forms/form.h"

namespace qm {

// Declares all controls of frmMain; subsystems look them up by name.
void declareMainLayout(Form& frmMain);


// Page contents, one function per page: the pages that free memory in
// layout_memory_pages.cpp, the others in layout_other_pages.cpp.
void declareReleasePage(Form& frm, Frame& page);
void declareAutomaticPage(Form& frm, Frame& page);
void declareTimePage(Form& frm, Frame& page);
void declareLauncherPage(Form& frm, Frame& page);
void declareGraphPage(Form& frm, Frame& page);
void declareStartupPage(Form& frm, Frame& page);
void declareAboutPage(Form& frm, Frame& page);

}  // namespace qm
