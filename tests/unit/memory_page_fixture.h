#pragma once
// The main window with its design, fake ports and a headless host, for the release
// engine and amount-list tests. (To be folded into the shared test fixture once it lands.)
#include <gtest/gtest.h>

#include "app/app_context.h"
#include "app/main_layout.h"
#include "forms/headless_host.h"
#include "support/fake_platform.h"

namespace qm::test {

class MemoryPageTest : public ::testing::Test {
protected:
    HeadlessHost host;
    FakePlatform fakes;
    Platform platform = fakes.platform(host);
    Form frm{"frmMain"};
    MainState state;
    RecordingSink log;
    AppContext ctx{host, platform, log, frm, state};

    MemoryPageTest() {
        declareMainLayout(frm);
        host.attach(frm);
    }

    // A machine reporting `totalMB` of RAM, `availMB` of it available, and a page file.
    void machine(uint64_t totalMB, uint64_t availMB, uint64_t pageMB = 0) {
        fakes.memory.current = {totalMB * MB, availMB * MB, (pageMB ? pageMB : 2 * totalMB) * MB, totalMB * MB};
    }
    std::string settings(const std::string& section, const std::string& key) {
        return fakes.profile.getString(section, key, "<none>", 255, ctx.programFile("settings.ini"));
    }
    template <class T>
    T& control(const std::string& name) { return frm.get<T>(name); }
};

}  // namespace qm::test
