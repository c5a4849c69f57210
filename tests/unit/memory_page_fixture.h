#pragma once
// The whole main window on the headless host and fake platform, not yet loaded, with
// short names for what the release engine and amount-list tests look at.
#include <gtest/gtest.h>

#include "support/test_app.h"

namespace qm::test {

class MemoryPageTest : public ::testing::Test {
protected:
    TestApp app;
    HeadlessHost& host = app.host;
    FakePlatform& fakes = app.fakes;
    Form& frm = app.frm();
    MainState& state = app.state();
    RecordingSink& log = app.log;
    SubsystemContext& ctx = app.ctx();
    ReleaseEngine& engine = app.window->subsystems().engine;
    AmountLists& lists = app.window->subsystems().amounts;

    // The timers run on the virtual clock; Form_Load is left to each test.
    MemoryPageTest() { host.attach(frm); }

    // A machine reporting `totalMB` of RAM, `availMB` of it available, and a page file.
    void machine(uint64_t totalMB, uint64_t availMB) {
        fakes.memory.current = {totalMB * MB, availMB * MB, 2 * totalMB * MB, totalMB * MB};
    }
    std::string settings(const std::string& section, const std::string& key) {
        return fakes.profile.getString(section, key, "<none>", 255, ctx.programFile("settings.ini"));
    }
    template <class T>
    T& control(const std::string& name) { return frm.get<T>(name); }
};

}  // namespace qm::test
