#include "app/main_layout.h"

#include "base/language.h"

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
    TabStrip& tabs = frm.add<TabStrip>(mainForm::TS);
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
    struct Button { ControlName<CommandButton> name; const char* caption; int left, width; };
    constexpr Button kButtons[] = {{mainForm::cmdPause, "&Pause All Activity", 578, 1695},
                                   {mainForm::cmdExit, "&Exit Quillmere", 2378, 3615},
                                   {mainForm::cmdHide, "&Hide", 6098, 1575}};
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
    for (ControlName<Timer> name : {mainForm::tmrCPU, mainForm::tmrMemory, mainForm::tmrRam, mainForm::tmrTime, mainForm::tmrAuto}) {
        Timer& timer = frm.add<Timer>(name);
        timer.setInterval(1000);
        timer.setEnabled(false);
    }
}

Menu& addMenu(Form& frm, std::string_view name, const std::string& caption, Control* parent) {
    Menu& item = frm.add<Menu>(std::string(name), parent);
    item.setCaption(caption);
    return item;
}

void declareFileMenu(Form& frm) {
    Menu& file = addMenu(frm, mainForm::mnuFile, "&File", nullptr);
    addMenu(frm, mainForm::mnuRelease, "Free&Up RAM Now", &file);
    addMenu(frm, "mnuFileRule1", "-", &file);
    addMenu(frm, mainForm::mnuShow, "Display Quillmere", &file);
    addMenu(frm, "mnuFileRule2", "-", &file);
    Menu& programs = addMenu(frm, mainForm::mnuPrograms, "&Programs", &file);
    Menu& first = frm.add<Menu>(mainForm::mnuP1, &programs, 0);
    first.setCaption("(No programs)");
    addMenu(frm, "mnuFileRule3", "-", &file);
    addMenu(frm, mainForm::Uptmc, "Check For Upgrade", &file);
    addMenu(frm, "mnuFileRule4", "-", &file);
    addMenu(frm, mainForm::mnuExit, "E&xit", &file);
}

// The system's language, English, then each built-in language by its own name (set at
// start, in the program's text encoding).
void declareLanguageMenu(Form& frm, Menu& languages) {
    frm.add<Menu>(mainForm::mnuViewLanguage, &languages, 0).setCaption("&System Language");
    frm.add<Menu>(mainForm::mnuViewLanguage, &languages, 1).setCaption("English");
    for (size_t i = 0; i < builtInLanguages().size(); ++i) {
        frm.add<Menu>(mainForm::mnuViewLanguage, &languages, static_cast<int>(i) + 2);
    }
}

void declareViewAndHelpMenus(Form& frm) {
    Menu& view = addMenu(frm, "mnuView", "&View", nullptr);
    addMenu(frm, mainForm::mnuViewReleaseRAM, "Release &RAM", &view);
    addMenu(frm, mainForm::mnuViewAutomatic, "&Automatic", &view);
    addMenu(frm, mainForm::mnuViewTime, "&Time Intervals", &view);
    addMenu(frm, mainForm::mnuViewLaucnher, "&Launcher", &view);
    addMenu(frm, mainForm::mnuViewGraph, "&History Graphs", &view);
    addMenu(frm, mainForm::mnuViewStartup, "&Startup/Other", &view);
    addMenu(frm, "mnuViewRule1", "-", &view);
    addMenu(frm, mainForm::mnuViewNotify, "Release &Notifications", &view).setChecked(true);
    addMenu(frm, mainForm::mnuViewTrayLoad, "Memory Load in Tray &Icon", &view);
    declareLanguageMenu(frm, addMenu(frm, mainForm::mnuViewLanguages, "Lan&guage", &view));
    Menu& help = addMenu(frm, "mnuHelp", "&Help", nullptr);
    addMenu(frm, mainForm::mnuHelpContents, "Help &Contents", &help);
    addMenu(frm, "mnuHelpRule1", "-", &help);
    addMenu(frm, mainForm::mnuHelpVisitUs, "Visit &Us online", &help);
    addMenu(frm, mainForm::mnuHelpUpdate, "Check for &Updates...", &help);
    addMenu(frm, "mnuHelpRule2", "-", &help);
    addMenu(frm, mainForm::mnuHelpAbout, "&About Quillmere", &help);
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
