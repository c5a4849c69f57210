#include "app/main_layout.h"

#include <string>

namespace qm {

namespace {

constexpr Color kWhite = rgb(255, 255, 255);
constexpr Color kBlue = rgb(0, 0, 255);

void declareBanner(Form& frm) {
    Image& banner = frm.add<Image>("Picture1");
    banner.resource = "banner";
    banner.move(0, 0, 8265, 1215);
    banner.setDescription("Quillmere");
    Label& title = frm.add<Label>("lblBanner");
    title.setCaption("Quillmere");
    title.move(1065, 120, 5805, 675);
    title.setFont("Tahoma", 24, true);
    title.setForeColor(kBlue);
}

void declareTabs(Form& frm) {
    TabStrip& tabs = frm.add<TabStrip>("TS");
    tabs.move(0, 1320, 8250, 4750);
    tabs.setFont("Verdana", 8, false);
    tabs.setDescription("Pages");
    for (const char* caption : {"Release RAM", "Automatic", "Time Intervals", "Launcher", "History Graphs",
                                "Startup/Other", "About"}) {
        tabs.addTab(caption);
    }
}

void declarePages(Form& frm) {
    using PageFn = void (*)(Form&, Frame&);
    constexpr PageFn kContents[7] = {declareReleasePage, declareAutomaticPage, declareTimePage,
                                     declareLauncherPage, declareGraphPage,    declareStartupPage,
                                     declareAboutPage};
    for (int i = 0; i < 7; ++i) {
        Frame& page = frm.add<Frame>(kPageFrames[i]);
        page.move(0, 1600, 8250, 4470);
        page.setVisible(i == 0);
        kContents[i](frm, page);
    }
}

void declareBottomRow(Form& frm) {
    struct Button { const char* name; const char* caption; int left, width; };
    constexpr Button kButtons[] = {{"cmdPause", "&Pause All Activity", 578, 1695},
                                   {"cmdExit", "&Exit Quillmere", 2378, 3615},
                                   {"cmdHide", "&Hide", 6098, 1575}};
    for (const Button& b : kButtons) {
        CommandButton& button = frm.add<CommandButton>(b.name);
        button.setCaption(b.caption);
        button.move(b.left, 6240, b.width, 375);
    }
}

// Below the visible client area: their colour records the current page.
void declarePageCaptionLabels(Form& frm) {
    constexpr const char* kCaptions[7] = {"Release RAM", "Automatic", "Time Intervals", "Launcher",
                                          "History Graphs", "Startup/Other", "About"};
    for (int i = 0; i < 7; ++i) {
        Label& label = frm.add<Label>(kPageLabels[i]);
        label.setCaption(kCaptions[i]);
        label.move(120 + i * 1150, 7560 + (i % 2) * 300, 1100, 255);
        label.setFont("Tahoma", 8, false);
        label.setForeColor(kWhite);
    }
}

void declareTimers(Form& frm) {
    for (const char* name : {"tmrCPU", "tmrMemory", "tmrRam", "tmrTime", "tmrAuto"}) {
        Timer& timer = frm.add<Timer>(name);
        timer.setInterval(1000);
        timer.setEnabled(false);
    }
}

Menu& addMenu(Form& frm, const std::string& name, const std::string& caption, Control* parent) {
    Menu& item = frm.add<Menu>(name, parent);
    item.setCaption(caption);
    return item;
}

void declareFileMenu(Form& frm) {
    Menu& file = addMenu(frm, "mnuFile", "&File", nullptr);
    addMenu(frm, "mnuRelease", "Free&Up RAM Now", &file);
    addMenu(frm, "mnuFileRule1", "-", &file);
    addMenu(frm, "mnuShow", "Display Quillmere", &file);
    addMenu(frm, "mnuFileRule2", "-", &file);
    Menu& programs = addMenu(frm, "mnuPrograms", "&Programs", &file);
    Menu& first = frm.add<Menu>("mnuP1", &programs, 0);
    first.setCaption("(No programs)");
    addMenu(frm, "mnuFileRule3", "-", &file);
    addMenu(frm, "Uptmc", "Check For Upgrade", &file);
    addMenu(frm, "mnuFileRule4", "-", &file);
    addMenu(frm, "mnuExit", "E&xit", &file);
}

void declareViewAndHelpMenus(Form& frm) {
    Menu& view = addMenu(frm, "mnuView", "&View", nullptr);
    addMenu(frm, "mnuViewReleaseRAM", "Release &RAM", &view);
    addMenu(frm, "mnuViewAutomatic", "&Automatic", &view);
    addMenu(frm, "mnuViewTime", "&Time Intervals", &view);
    addMenu(frm, "mnuViewLaucnher", "&Launcher", &view);
    addMenu(frm, "mnuViewGraph", "&History Graphs", &view);
    addMenu(frm, "mnuViewStartup", "&Startup/Other", &view);
    Menu& help = addMenu(frm, "mnuHelp", "&Help", nullptr);
    addMenu(frm, "mnuHelpContents", "Help &Contents", &help);
    addMenu(frm, "mnuHelpRule1", "-", &help);
    addMenu(frm, "mnuHelpVisitUs", "Visit &Us online", &help);
    addMenu(frm, "mnuHelpUpdate", "Check for &Updates...", &help);
    addMenu(frm, "mnuHelpRule2", "-", &help);
    addMenu(frm, "mnuHelpAbout", "&About Quillmere", &help);
}

}  // namespace

void declareMainLayout(Form& frm) {
    frm.setCaption("Quillmere");
    frm.move(0, 0, 8265, 6690);  // client area
    frm.setIconResource("quillmere");
    declareBanner(frm);
    declareTabs(frm);
    declarePages(frm);
    declareBottomRow(frm);
    declarePageCaptionLabels(frm);
    declareTimers(frm);
    declareFileMenu(frm);
    declareViewAndHelpMenus(frm);
}

}  // namespace qm
