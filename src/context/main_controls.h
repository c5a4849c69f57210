#pragma once
// The names of frmMain's controls that its design declares and its behaviour looks up:
// each is written here once, with its class, so a renamed or retyped control fails to
// compile instead of failing at run time.
#include "forms/form.h"
#include "forms/picture_box.h"

namespace qm::mainForm {

template <class T>
using Name = ControlName<T>;

// The seven page frames in tab order, and their hidden caption labels.
inline constexpr Name<Frame> kPageFrames[7] = {{"fmRAM"},   {"fmAutomatic"}, {"fmTime"}, {"fmLauncher"},
                                               {"fmGraph"}, {"fmStartup"},   {"fmAbout"}};
inline constexpr Name<Label> kPageLabels[7] = {{"lblReleaseRAMN"},    {"lblAutomaticN"},     {"lblTimeIntervalsN"},
                                               {"lblLauncherN"},      {"lblHistoryGraphsN"}, {"lblStartupOtherN"},
                                               {"lblAboutN"}};
inline constexpr Name<Frame> fmRAM = kPageFrames[0];

// The window's tab strip, bottom row and timers.
inline constexpr Name<TabStrip> TS{"TS"};
inline constexpr Name<CommandButton> cmdPause{"cmdPause"};
inline constexpr Name<CommandButton> cmdExit{"cmdExit"};
inline constexpr Name<CommandButton> cmdHide{"cmdHide"};
inline constexpr Name<Timer> tmrCPU{"tmrCPU"};
inline constexpr Name<Timer> tmrMemory{"tmrMemory"};
inline constexpr Name<Timer> tmrRam{"tmrRam"};
inline constexpr Name<Timer> tmrTime{"tmrTime"};
inline constexpr Name<Timer> tmrAuto{"tmrAuto"};

// Menus.
inline constexpr Name<Menu> mnuFile{"mnuFile"};
inline constexpr Name<Menu> mnuRelease{"mnuRelease"};
inline constexpr Name<Menu> mnuShow{"mnuShow"};
inline constexpr Name<Menu> mnuPrograms{"mnuPrograms"};
inline constexpr Name<Menu> mnuP1{"mnuP1"};
inline constexpr Name<Menu> Uptmc{"Uptmc"};
inline constexpr Name<Menu> mnuExit{"mnuExit"};
inline constexpr Name<Menu> mnuViewReleaseRAM{"mnuViewReleaseRAM"};
inline constexpr Name<Menu> mnuViewAutomatic{"mnuViewAutomatic"};
inline constexpr Name<Menu> mnuViewTime{"mnuViewTime"};
inline constexpr Name<Menu> mnuViewLaucnher{"mnuViewLaucnher"};
inline constexpr Name<Menu> mnuViewGraph{"mnuViewGraph"};
inline constexpr Name<Menu> mnuViewStartup{"mnuViewStartup"};
inline constexpr Name<Menu> mnuViewNotify{"mnuViewNotify"};
inline constexpr Name<Menu> mnuViewTrayLoad{"mnuViewTrayLoad"};
inline constexpr Name<Menu> mnuViewLanguages{"mnuViewLanguages"};
inline constexpr Name<Menu> mnuViewLanguage{"mnuViewLanguage"};  // an array: system, English, the rest
inline constexpr Name<Menu> mnuHelpContents{"mnuHelpContents"};
inline constexpr Name<Menu> mnuHelpVisitUs{"mnuHelpVisitUs"};
inline constexpr Name<Menu> mnuHelpUpdate{"mnuHelpUpdate"};
inline constexpr Name<Menu> mnuHelpAbout{"mnuHelpAbout"};

// Release RAM page.
inline constexpr Name<Label> lblPM{"lblPM"};
inline constexpr Name<PictureBox> picPProgress{"picPProgress"};
inline constexpr Name<Label> lblPPercent{"lblPPercent"};
inline constexpr Name<Label> lblVM{"lblVM"};
inline constexpr Name<PictureBox> picVProgress{"picVProgress"};
inline constexpr Name<Label> lblVPercent{"lblVPercent"};
inline constexpr Name<PictureBox> picCPU{"picCPU"};
inline constexpr Name<Label> lblCPU{"lblCPU"};
inline constexpr Name<ListBox> lstRam{"lstRam"};
inline constexpr Name<CommandButton> cmdRam{"cmdRam"};

// Automatic page.
inline constexpr Name<CheckBox> chkAutoActive{"chkAutoActive"};
inline constexpr Name<ComboBox> cmbAutoRelease{"cmbAutoRelease"};
inline constexpr Name<ListBox> lstAutoAmount{"lstAutoAmount"};
inline constexpr Name<ListBox> lstAutoInterval{"lstAutoInterval"};
inline constexpr Name<CheckBox> chkAutoCPU{"chkAutoCPU"};
inline constexpr Name<ComboBox> cmbAutoCPU{"cmbAutoCPU"};

// Time Intervals page.
inline constexpr Name<CheckBox> chkTimeActive{"chkTimeActive"};
inline constexpr Name<ListBox> lstTimeInterval{"lstTimeInterval"};
inline constexpr Name<OptionButton> optTimeMinute{"optTimeMinute"};
inline constexpr Name<OptionButton> optTimeHour{"optTimeHour"};
inline constexpr Name<ListBox> lstTimeAmount{"lstTimeAmount"};
inline constexpr Name<CheckBox> chkTimeCPU{"chkTimeCPU"};
inline constexpr Name<ComboBox> cmbTimeCPU{"cmbTimeCPU"};

// Launcher page.
inline constexpr Name<ListBox> lstLauncher{"lstLauncher"};
inline constexpr Name<CommandButton> cmdConfigureLauncher{"cmdConfigureLauncher"};
inline constexpr Name<OptionButton> optLauncher{"optLauncher"};
inline constexpr Name<ComboBox> cmbLauncher{"cmbLauncher"};

// History Graphs page.
inline constexpr Name<PictureBox> picPhysical{"picPhysical"};
inline constexpr Name<Label> lblP{"lblP"};
inline constexpr Name<Line> lnP{"lnP"};
inline constexpr Name<PictureBox> picVirtual{"picVirtual"};
inline constexpr Name<Label> lblV{"lblV"};
inline constexpr Name<Line> lnV{"lnV"};
inline constexpr Name<ComboBox> cmbUpdateGraph{"cmbUpdateGraph"};

// Startup/Other page.
inline constexpr Name<OptionButton> optDisplay{"optDisplay"};
inline constexpr Name<OptionButton> optCPU{"optCPU"};
inline constexpr Name<CheckBox> chkStartup{"chkStartup"};
inline constexpr Name<ComboBox> cmbStartupRam{"cmbStartupRam"};
inline constexpr Name<ComboBox> cmbStartupWait{"cmbStartupWait"};
inline constexpr Name<ComboBox> cmbRetry{"cmbRetry"};
inline constexpr Name<CheckBox> chkLowLevel{"chkLowLevel"};
inline constexpr Name<CheckBox> chkQuit{"chkQuit"};

// About page.
inline constexpr Name<Label> lblHelp{"lblHelp"};
inline constexpr Name<Label> lblWebsite{"lblWebsite"};

}  // namespace qm::mainForm

namespace qm {
using mainForm::kPageFrames;
using mainForm::kPageLabels;
}  // namespace qm
