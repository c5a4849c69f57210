#include "support/test_app.h"

#include "app/main_layout.h"

namespace qm::test {

BareWindow::BareWindow(DateTime start) : host(start), platform(fakes.platform(host)) { declareMainLayout(form); }

TestApp::TestApp(DateTime start)
    : host(start), platform(fakes.platform(host)), window(std::make_unique<MainWindow>(host, platform, log)) {}

void TestApp::load() {
    host.attach(frm());
    window->Form_Load();
}

std::string TestApp::settingsText() {
    const auto it = fakes.files.files.find(ctx().programFile("settings.ini"));
    return it == fakes.files.files.end() ? std::string() : it->second;
}

void TestApp::setSettingsText(const std::string& text) { fakes.files.files[ctx().programFile("settings.ini")] = text; }

void TestApp::presetCheck(const std::string& section, const std::string& key, const std::string& box, int value) {
    fakes.profile.writeString(section, key, std::to_string(value), ctx().programFile("settings.ini"));
    settings().setLoading(true);
    get<CheckBox>(box).setValue(value);
    settings().setLoading(false);
}

void TestApp::presetDisplay(int mode) {
    fakes.profile.writeString("Startup", "Display", std::to_string(mode), ctx().programFile("settings.ini"));
    settings().setLoading(true);
    frm().element<OptionButton>("optDisplay", mode).setValue(true);
    settings().setLoading(false);
}

}  // namespace qm::test
