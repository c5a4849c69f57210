#pragma once
// The main window with its monitor subsystems over fakes, for the gauge and graph tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "context/subsystem_context.h"
#include "app/main_layout.h"
#include "forms/headless_host.h"
#include "monitor/gauges.h"
#include "monitor/graphs.h"
#include "support/fake_platform.h"

namespace qm::test {

class MonitorTest : public ::testing::Test {
protected:
    HeadlessHost host;
    FakePlatform fakes;
    Platform platform = fakes.platform(host);
    Form frm{"frmMain"};
    MainState state;
    RecordingSink log;
    SubsystemContext ctx{host, platform, log, frm, state};
    CpuSamplerSlot sampler;
    std::vector<std::string> tips;
    std::unique_ptr<Graphs> graphs;
    std::unique_ptr<Gauges> gauges;

    MonitorTest() {
        declareMainLayout(frm);
        state.physHistory.fill(-1);
        state.pageHistory.fill(-1);
        state.totalPhysMB = 1000;
        state.totalPageMB = 2000;
        graphs = std::make_unique<Graphs>(ctx, sampler);
        gauges = std::make_unique<Gauges>(ctx, *graphs, sampler, [this](const std::string& tip) { tips.push_back(tip); });
    }

    PictureBox& pic(const std::string& name) { return frm.get<PictureBox>(name); }
    std::string caption(const std::string& name) { return frm.get<Control>(name).caption(); }
    void setAvailable(double physMB, double pageMB) {
        fakes.memory.current.availPhys = static_cast<uint64_t>(physMB * MB + 0.5);
        fakes.memory.current.availPageFile = static_cast<uint64_t>(pageMB * MB + 0.5);
    }
    std::string setting(const std::string& section, const std::string& key) {
        return fakes.profile.getString(section, key, "<none>", 255, ctx.programFile("settings.ini"));
    }
};

// `back` with horizontal runs [x1, x2] on the given rows in `color`.
inline Canvas withRows(Canvas back, std::initializer_list<int> rows, int x1, int x2, Color color) {
    for (int y : rows)
        for (int x = x1; x <= x2; ++x) back.setPixel(x, y, color);
    return back;
}

}  // namespace qm::test
