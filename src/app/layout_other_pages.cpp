// The design of the Launcher, History Graphs, Startup/Other and About pages.
#include "context/layout_helpers.h"
#include "context/main_controls.h"

namespace qm {

using layout::advice;
using layout::Box;
using layout::place;

namespace {

// The four scale labels and marker lines beside a graph; their heights are set at start.
void graphScale(Form& frm, Frame& page, ControlName<Label> label, ControlName<Line> line, int top) {
    for (int k = 0; k < 4; ++k) {
        place<Label>(frm, page, label, "", {120, top, 1000, 195}, k).setFont("MS Sans Serif", 7, false);
        Line& marker = frm.add<Line>(line, &page, k);
        marker.setPoints(1080, top, 1200, top);
        marker.setForeColor(rgb(0, 128, 0));
    }
}

PictureBox& graph(Form& frm, Frame& page, ControlName<PictureBox> name, int top, Color drawColor) {
    PictureBox& box = place<PictureBox>(frm, page, name, "", {1200, top, 5535, 1095});
    box.setBorder(true);
    box.setScaleMode(ScaleMode::Pixels);
    box.setBackColor(rgb(0, 0, 0));
    box.setForeColor(drawColor);
    box.cls();
    return box;
}

Frame& group(Form& frm, Frame& page, const std::string& name, const std::string& caption, Box box) {
    return place<Frame>(frm, page, name, caption, box);
}

void optionArray(Form& frm, Frame& parent, ControlName<OptionButton> name, std::initializer_list<const char*> captions,
                 std::initializer_list<int> indexes, int left, int top, int width) {
    auto index = indexes.begin();
    int row = 0;
    for (const char* caption : captions) {
        place<OptionButton>(frm, parent, name, caption, {left, top + row++ * 300, width, 285}, *index++);
    }
}

}  // namespace

void declareLauncherPage(Form& frm, Frame& page) {
    place<Label>(frm, page, "lblListOfPrograms", "List of Programs", {240, 180, 3600, 255});
    place<ListBox>(frm, page, mainForm::lstLauncher, "", {240, 480, 3600, 2700});
    place<CommandButton>(frm, page, mainForm::cmdConfigureLauncher, "Configure Program List", {240, 3300, 3600, 420});
    place<Label>(frm, page, "lblLauncherFreeUp",
                 "Before any program from my list is launched, attempt to free up the following amount of RAM:",
                 {4080, 180, 3960, 660});
    optionArray(frm, page, mainForm::optLauncher,
                {"5% of My Total RAM", "10% of My Total RAM", "15% of My Total RAM ", "20% of My Total RAM",
                 "Don't Free Up Any RAM"},
                {0, 1, 2, 3, 4}, 4200, 900, 3600);
    place<Label>(frm, page, "lblLauncherRetry", "Number of Retrys", {4200, 2490, 1800, 255});
    place<ComboBox>(frm, page, mainForm::cmbLauncher, "", {6060, 2445, 900, 315});
    advice(frm, page, "Label4");
}

void declareGraphPage(Form& frm, Frame& page) {
    // Above its graph, clear of the scale column to its left, whose top label sits on the graph's top line.
    place<Label>(frm, page, "lblbAvailablePMemory", "Available Physical Memory Graph:", {1200, 60, 4000, 255});
    graph(frm, page, mainForm::picPhysical, 330, rgb(0, 255, 0));
    graphScale(frm, page, mainForm::lblP, mainForm::lnP, 330);
    place<Label>(frm, page, "lblAvailableVMemory", "Available Page File Memory Graph:", {1200, 1500, 4000, 255});
    graph(frm, page, mainForm::picVirtual, 1770, rgb(128, 255, 128));
    graphScale(frm, page, mainForm::lblV, mainForm::lnV, 1770);
    place<Label>(frm, page, "lblUpdateGraph", "Graphs Update Interval", {240, 3060, 2400, 255});
    ComboBox& interval = place<ComboBox>(frm, page, mainForm::cmbUpdateGraph, "", {2700, 3015, 1800, 315});
    for (const char* entry : {"1.5 Seconds", "3 Seconds", "6 Seconds", "30 Seconds", "1 Minute", "2 Minutes",
                              "5 Minutes", "10 Minutes"}) {
        interval.addItem(entry);
    }
    advice(frm, page, "Label5");
}

void declareStartupPage(Form& frm, Frame& page) {
    Frame& display = group(frm, page, "fmDisplay", "Display at Startup", {120, 60, 2640, 1260});
    optionArray(frm, display, mainForm::optDisplay, {"Fully Displayed", "Minimized in Taskbar", "Hidden"}, {0, 1, 2}, 120,
                300, 2400);
    Frame& cpu = group(frm, page, "fmCPUUpdate", "CPU Graph Update Interval", {2880, 60, 2640, 1260});
    optionArray(frm, cpu, mainForm::optCPU, {"Faster", "Medium", "Slower"}, {2, 1, 0}, 120, 300, 2400);
    Frame& autostart = group(frm, page, "fmAutoLaunch", "When I startup my computer", {5640, 60, 2490, 1260});
    place<CheckBox>(frm, autostart, mainForm::chkStartup, "Automatically launch", {120, 420, 2250, 300});

    Frame& options = group(frm, page, "fmStartupOptions", "Startup Options", {120, 1410, 5400, 1140});
    place<Label>(frm, options, "lblRAMAmount", "Amount of RAM to release", {120, 330, 2800, 255});
    place<ComboBox>(frm, options, mainForm::cmbStartupRam, "", {3000, 285, 1500, 315});
    place<Label>(frm, options, "lblRAMStartupTime", "Time to Wait(Seconds)", {120, 720, 2800, 255});
    place<ComboBox>(frm, options, mainForm::cmbStartupWait, "", {3000, 675, 1500, 315});
    Frame& retry = group(frm, page, "fmRetry", "Number of Retrys", {5640, 1410, 2490, 1140});
    place<Label>(frm, retry, "lblTry", "Try", {120, 510, 420, 255});
    place<ComboBox>(frm, retry, mainForm::cmbRetry, "", {600, 465, 900, 315}).setLabelledBy(retry);
    place<Label>(frm, retry, "lblTimes", "times", {1620, 510, 700, 255});

    Frame& lowLevel = group(frm, page, "fmLowLevel", "Disable Low Level", {120, 2640, 3960, 1140});
    CheckBox& lowLevelBox = place<CheckBox>(frm, lowLevel, mainForm::chkLowLevel, "", {120, 420, 300, 300});
    lowLevelBox.setLabelledBy(place<Label>(frm, lowLevel, "lblResourcesWarning", "Resources Warning", {480, 330, 3300, 255}));
    place<Label>(frm, lowLevel, "lblAutoTimeOnly", "(Auto && Time Only", {480, 630, 3300, 255});
    Frame& quit = group(frm, page, "fmQuit", "Quit button hides in tray", {4200, 2640, 3930, 1140});
    place<CheckBox>(frm, quit, mainForm::chkQuit, "Enable", {120, 420, 2000, 300});
    advice(frm, page, "Label8");
}

void declareAboutPage(Form& frm, Frame& page) {
    place<Label>(frm, page, "Label1",
                 "Quillmere keeps an eye on your computer's physical and page-file memory and on the processor "
                 "load, draws their history, and frees physical RAM when you ask, when memory runs low, at "
                 "fixed intervals, at start-up and before it starts a program from your list.",
                 {240, 240, 7800, 1260});
    place<Label>(frm, page, "lblHelpCaption", "Help:", {240, 1740, 1800, 255});
    Label& help = place<Label>(frm, page, mainForm::lblHelp, "User Guide", {2100, 1740, 3000, 255});
    help.setForeColor(rgb(0, 0, 255));
    place<Label>(frm, page, "lblWebsiteCaption", "Visit our website:", {240, 2160, 1800, 255});
    Label& website = place<Label>(frm, page, mainForm::lblWebsite, "", {2100, 2160, 5000, 255});
    website.setForeColor(rgb(0, 0, 255));
    advice(frm, page, "Label9");
}

}  // namespace qm
