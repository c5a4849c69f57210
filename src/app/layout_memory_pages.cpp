// The design of the pages that free memory: Release RAM, Automatic and Time Intervals.
#include "context/layout_helpers.h"
#include "context/main_controls.h"

namespace qm {

using layout::advice;
using layout::place;

namespace {

PictureBox& gauge(Form& frm, Frame& page, ControlName<PictureBox> name, int top) {
    PictureBox& bar = place<PictureBox>(frm, page, name, "", {240, top, 3500, 255});
    bar.setBackColor(rgb(224, 224, 224));
    bar.setScaleMode(ScaleMode::Twips);
    bar.cls();
    return bar;
}

}  // namespace

void declareReleasePage(Form& frm, Frame& page) {
    place<Label>(frm, page, mainForm::lblPM, "Total Physical Memory:", {240, 240, 4500, 255});
    gauge(frm, page, mainForm::picPProgress, 555);
    place<Label>(frm, page, mainForm::lblPPercent, "", {3900, 555, 1700, 255});
    place<Label>(frm, page, mainForm::lblVM, "Total Page File Memory:", {240, 1020, 4500, 255});
    gauge(frm, page, mainForm::picVProgress, 1335);
    place<Label>(frm, page, mainForm::lblVPercent, "", {3900, 1335, 1700, 255});

    PictureBox& cpu = place<PictureBox>(frm, page, mainForm::picCPU, "", {6000, 240, 1935, 1695});
    cpu.setBackColor(rgb(0, 0, 0));
    cpu.setScaleMode(ScaleMode::Pixels);
    cpu.setDescription("CPU usage graph");
    cpu.cls();
    place<Label>(frm, page, "lblCPUUsage", "CPU Usage", {6000, 2010, 1200, 255});
    place<Label>(frm, page, mainForm::lblCPU, "0%", {7230, 2010, 705, 255});

    place<Label>(frm, page, "lblRamAmount", "Amount of RAM to release:", {240, 1800, 3000, 255});
    place<ListBox>(frm, page, mainForm::lstRam, "", {240, 2100, 2655, 1620});
    place<CommandButton>(frm, page, mainForm::cmdRam, "FreeUp RAM Now", {3120, 2100, 2175, 495});
    advice(frm, page, "Label7");
}

void declareAutomaticPage(Form& frm, Frame& page) {
    place<CheckBox>(frm, page, mainForm::chkAutoActive, "Auto Release Active", {240, 180, 3600, 300});
    place<Label>(frm, page, "lblAutoRelease", "Automatically release RAM when it reaches a minimum of",
                 {240, 660, 4560, 255});
    place<ComboBox>(frm, page, mainForm::cmbAutoRelease, "", {4920, 615, 1575, 315});
    place<Label>(frm, page, "lblAutoAmount", "Amount of RAM to Release", {240, 1110, 4560, 255});
    place<ListBox>(frm, page, mainForm::lstAutoAmount, "", {4920, 1095, 1575, 840});
    place<Label>(frm, page, "lblAutoRAM", "Check for minimum level of RAM at the following interval (Seconds)",
                 {240, 2070, 4560, 450});
    place<ListBox>(frm, page, mainForm::lstAutoInterval, "", {4920, 2055, 1575, 840});
    place<CheckBox>(frm, page, mainForm::chkAutoCPU, "Don't perform auto freeup unless CPU usage is below",
                    {240, 3075, 4560, 300});
    place<ComboBox>(frm, page, mainForm::cmbAutoCPU, "", {4920, 3045, 900, 315});
    place<Label>(frm, page, "lblAutoCPU", "percent", {5940, 3090, 1000, 255});
    advice(frm, page, "Label6");
}

void declareTimePage(Form& frm, Frame& page) {
    place<CheckBox>(frm, page, mainForm::chkTimeActive, "Time Release Active", {240, 180, 3600, 300});
    place<Label>(frm, page, "lblRelaeaseRamTime", "Release RAM at following Interval", {240, 660, 4560, 255});
    place<ListBox>(frm, page, mainForm::lstTimeInterval, "", {4920, 645, 1215, 840});
    place<OptionButton>(frm, page, mainForm::optTimeMinute, "Minutes", {6300, 660, 1500, 300});
    place<OptionButton>(frm, page, mainForm::optTimeHour, "Hours", {6300, 1020, 1500, 300});
    place<Label>(frm, page, "lblReleaseTime", "Amount of RAM to Release", {240, 1650, 4560, 255});
    place<ListBox>(frm, page, mainForm::lstTimeAmount, "", {4920, 1635, 1575, 840});
    place<CheckBox>(frm, page, mainForm::chkTimeCPU, "Don't perform time freeup unless CPU usage is below",
                    {240, 2835, 4560, 300});
    place<ComboBox>(frm, page, mainForm::cmbTimeCPU, "", {4920, 2805, 900, 315});
    place<Label>(frm, page, "lblReleaseTimeCPU", "percent", {5940, 2850, 1000, 255});
    advice(frm, page, "Label3");
}

}  // namespace qm
