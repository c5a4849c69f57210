#pragma once
// The fixture family of the core's tests: WindowTest<World> runs on a BareWindow (the
// controls and the context; the test builds the subsystems it exercises) or on a TestApp
// (the whole main window), with the same short names and lookups for both.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/canvas.h"
#include "support/test_app.h"

namespace qm::test {

template <class World>
class WindowTest : public ::testing::Test {
protected:
    explicit WindowTest(DateTime start = defaultTestStart()) : world(start) {}

    World world;
    HeadlessHost& host = world.host;
    FakePlatform& fakes = world.fakes;
    RecordingSink& log = world.log;
    Form& frm = world.frm();
    SubsystemContext& ctx = world.ctx();
    SettingsFile& settings = world.settings();
    Platform& platform = world.platform;

    template <class T>
    T& control(const std::string& name) { return frm.get<T>(name); }
    ListControl& list(const std::string& name) { return frm.get<ListControl>(name); }
    std::string selected(const std::string& name) { return list(name).text(); }
    // The index of the selected button of an option group, -1 for none.
    int option(const std::string& group) {
        for (int i : frm.elementIndexes(group)) {
            if (frm.element<OptionButton>(group, i).value()) return i;
        }
        return -1;
    }

    std::string path() const { return ctx.programFile("settings.ini"); }
    std::string& fileText() { return fakes.files.files[path()]; }
    void store(const std::string& section, const std::string& key, const std::string& value) {
        fakes.profile.writeString(section, key, value, path());
    }
    // The stored text of a key, "<none>" when there is none.
    std::string stored(const std::string& section, const std::string& key) {
        return fakes.profile.getString(section, key, "<none>", 255, path());
    }
    // Runs `body` the way the start-up applies stored values: with the loading flag set.
    template <class Body>
    void whileLoading(Body&& body) {
        settings.setLoading(true);
        body();
        settings.setLoading(false);
    }
    bool logged(const std::string& label, int number = -1) const { return log.has("frmMain" + label, number); }

    // A machine reporting `totalMB` of RAM, `availMB` of it available, and a page file.
    void machine(uint64_t totalMB, uint64_t availMB) {
        fakes.memory.current = {totalMB * MB, availMB * MB, 2 * totalMB * MB, totalMB * MB};
    }
};

using BareWindowTest = WindowTest<BareWindow>;
using AppTest = WindowTest<TestApp>;

// The whole window, not yet loaded, with short names for what the release engine and
// amount-list tests look at.
class MemoryPageTest : public AppTest {
protected:
    TestApp& app = world;
    ReleaseEngine& engine = world.parts().engine;
    AmountLists& lists = world.parts().amounts;

    // The timers run on the virtual clock; Form_Load is left to each test.
    MemoryPageTest() { host.attach(frm); }
};

// The release triggers over the bare window: the totals and the last CPU load are the
// test's own, set as the amount lists and the CPU timer would set them.
class ReleaseTriggersTest : public BareWindowTest {
protected:
    explicit ReleaseTriggersTest(DateTime start = defaultTestStart()) : BareWindowTest(start) {}

    MemoryTotals totals;
    int32_t lastCPU = 0;
    ReleaseEngine engine{ctx};
    LowMemoryCheck warning{ctx, totals};
    AutoRelease autoRelease{ctx, engine, warning, lastCPU};
    TimedRelease timedRelease{ctx, engine, warning, lastCPU};
};

// The settings pages wired as the program wires them (with the releases their Active
// boxes start), the amount lists filled as loadRAM fills them on a 256 MB machine.
class SettingsTest : public ReleaseTriggersTest {
protected:
    AutoPage autoPage{ctx, settings, autoRelease};
    TimePage timePage{ctx, settings, timedRelease};
    StartupPage startupPage{ctx, settings};
    LauncherPage launcherPage{ctx, settings};
    modReg reg{ctx, settings};

    SettingsTest() {
        totals = {257, 513};
        host.attach(frm);
        // The Run key exists on every Windows machine; one value of another program is there.
        fakes.registry.setString(HKEY_LOCAL_MACHINE_, kRunKey, "Other", "C:\\other.exe");
    }

    void fillAmountLists() {
        frm.get<ComboBox>("cmbStartupRam").addItem("0 MB");
        for (int mb = 2; mb <= 256; mb += 2) {
            for (const char* name : {"lstRam", "cmbStartupRam", "lstTimeAmount", "lstAutoAmount", "cmbAutoRelease"})
                frm.get<ListControl>(name).addItem(std::to_string(mb) + " MB");
        }
    }
    // The four pages' loaders, in the start-up's order and while loading.
    void loadPages() {
        autoPage.loadAuto();
        timePage.loadTime();
        startupPage.loadStartup();
        launcherPage.loadLauncher();
    }
    void load() {
        fillAmountLists();
        whileLoading([&] { loadPages(); });
    }
};

// The monitor subsystems over the bare window, on a machine whose totals are 1000 MB of
// RAM and 2000 MB of page file.
class MonitorTest : public BareWindowTest {
protected:
    MemoryTotals totals{1000, 2000};
    CpuSamplerSlot sampler;
    std::vector<std::string> tips;
    Graphs graphs{ctx, settings, sampler};
    Gauges gauges{ctx, graphs, totals, sampler, [this](const std::string& tip) { tips.push_back(tip); }};

    PictureBox& pic(const std::string& name) { return frm.get<PictureBox>(name); }
    std::string caption(const std::string& name) { return frm.get<Control>(name).caption(); }
    void setAvailable(double physMB, double pageMB) {
        fakes.memory.current.availPhys = static_cast<uint64_t>(physMB * MB + 0.5);
        fakes.memory.current.availPageFile = static_cast<uint64_t>(pageMB * MB + 0.5);
    }
};

// `back` with horizontal runs [x1, x2] on the given rows in `color`.
inline Canvas withRows(Canvas back, std::initializer_list<int> rows, int x1, int x2, Color color) {
    for (int y : rows)
        for (int x = x1; x <= x2; ++x) back.setPixel(x, y, color);
    return back;
}

}  // namespace qm::test
