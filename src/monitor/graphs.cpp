#include "monitor/graphs.h"

#include <algorithm>
#include <array>

#include "base/convert.h"
#include "settings/load_rules.h"
#include "settings/settings_file.h"

namespace qm {

namespace {

constexpr const char* kGraphBack = "graphback.bmp";
constexpr const char* kCpuBack = "cpuback.bmp";
constexpr int kMeterRows = 17;

// The grid behind both memory graphs: 17 columns every 20 pixels, 6 rows every 10.
void drawGraphGrid(PictureBox& box) {
    for (int i = 1; i <= 17; ++i) box.line(20 * i, 0, 20 * i, kGraphHeight, kGridColor);
    for (int i = 1; i <= 6; ++i) box.line(0, 10 * i, kHistoryLength, 10 * i, kGridColor);
}

// One meter row: a bar in each of the two columns.
void drawMeterRow(PictureBox& box, int y, Color color) {
    box.line(60, y, 10, y, color);
    box.line(115, y, 65, y, color);
}

// The unlit meter: 17 rows of both columns, from y = 15 down to y = 95.
void drawMeterGrid(PictureBox& box) {
    for (int i = 1; i <= kMeterRows; ++i) drawMeterRow(box, 5 * i + 10, kGridColor);
}

// Runs one statement of drawCPUGraph; false when it raised error 9, which ends the
// procedure without a log entry (other errors are logged and the procedure goes on).
template <class Statement>
bool runUnlessSubscript(Trap& t, Statement&& statement) {
    bool subscript = false;
    t.except(errSubscript, [&] {
        try {
            statement();
        } catch (const AppError& e) {
            subscript = e.number == errSubscript;
            throw;
        }
    });
    return !subscript;
}

}  // namespace

Graphs::Graphs(AppContext& ctx, const CpuSamplerSlot& cpuSampler)
    : ctx_(ctx),
      cpuSampler_(cpuSampler),
      picPhysical_(ctx.frmMain.get<PictureBox>("picPhysical")),
      picVirtual_(ctx.frmMain.get<PictureBox>("picVirtual")),
      picCPU_(ctx.frmMain.get<PictureBox>("picCPU")),
      cmbUpdateGraph_(ctx.frmMain.get<ComboBox>("cmbUpdateGraph")),
      tmrCPU_(ctx.frmMain.get<Timer>("tmrCPU")) {
    cmbUpdateGraph_.onClick = [this] { cmbUpdateGraph_Click(); };
    tmrCPU_.onTimer = [this] { tmrCPU_Timer(); };
    for (int index : ctx.frmMain.elementIndexes("optCPU")) {
        ctx.frmMain.element<OptionButton>("optCPU", index).onClick = [this](int i) { optCPU_Click(i); };
    }
}

void Graphs::initGraph() {
    Trap t = ctx_.trap(",initGraph");
    makeBackground(t, picPhysical_, kGraphBack, drawGraphGrid);
    t([&] { loadBackground(picPhysical_, kGraphBack); });
    t([&] { loadBackground(picVirtual_, kGraphBack); });
    makeBackground(t, picCPU_, kCpuBack, drawMeterGrid);
    t([&] { loadBackground(picCPU_, kCpuBack); });
}

void Graphs::makeBackground(Trap& t, PictureBox& box, const std::string& file, void (*drawGrid)(PictureBox&)) {
    const std::string path = ctx_.programFile(file);
    bool exists = false;
    t([&] { exists = ctx_.platform.files.fileExists(path); });
    if (exists) return;
    t([&] { box.setAutoRedraw(true); });
    t([&] { drawGrid(box); });
    t([&] { box.keepImageAsPicture(); });
    t([&] { ctx_.platform.files.writeAll(path, pictureFileBytes(box.image())); });
    t([&] { box.setAutoRedraw(false); });
}

void Graphs::loadBackground(PictureBox& box, const std::string& file) {
    box.setPicture(pictureFromFileBytes(ctx_.platform.files.readAll(ctx_.programFile(file))));
}

void Graphs::loadGraph() {
    Trap t = ctx_.trap(",loadGraph");
    std::string stored = "1.5";
    t([&] { stored = SettingsFile(ctx_).getData("Memory", "GraphInterval", "1.5"); });
    // Selecting raises cmbUpdateGraph_Click, which sets the interval.
    t([&] { applyRuleI(cmbUpdateGraph_, stored); });
    t([&] { ctx_.state.lastGraphTime = ctx_.platform.clock.now(); });
}

void Graphs::cmbUpdateGraph_Click() {
    Trap t = ctx_.trap(",cmbUpdateGraph_Click");
    std::string entry;
    t([&] { entry = cmbUpdateGraph_.text(); });
    const size_t space = entry.find(' ');
    if (space == std::string::npos) return;
    const std::string first = entry.substr(0, space);
    const std::string rest = entry.substr(space + 1);
    const std::string second = rest.substr(0, rest.find(' '));
    t([&] { ctx_.state.graphInterval = second.find("Second") != std::string::npos ? val(first) : val(first) * 60; });
    // Stored with "." whatever the locale, so that loadGraph finds "1.5" again; also while loading.
    t([&] { SettingsFile(ctx_).writeNumberAlways("Memory", "GraphInterval", ctx_.state.graphInterval); });
}

void Graphs::shiftHistory() {
    auto& phys = ctx_.state.physHistory;
    auto& page = ctx_.state.pageHistory;
    std::copy(phys.begin() + 1, phys.end(), phys.begin());
    std::copy(page.begin() + 1, page.end(), page.begin());
}

void Graphs::drawGraph() {
    Trap t = ctx_.trap(",drawGraph");
    t([&] { picPhysical_.cls(); });
    t([&] { picVirtual_.cls(); });
    t([&] { drawHistory(picPhysical_, ctx_.state.physHistory); });
    t([&] { drawHistory(picVirtual_, ctx_.state.pageHistory); });
}

void Graphs::drawHistory(PictureBox& box, const std::array<int16_t, kHistoryLength>& history) {
    // Samples fill from the right, so a valid left end always has a valid right end.
    for (int i = 0; i < kHistoryLength - 1; ++i) {
        if (history[i] != -1) box.line(i, kGraphHeight - history[i], i + 1, kGraphHeight - history[i + 1]);
    }
}

void Graphs::tmrCPU_Timer() {
    Trap t = ctx_.trap(",tmrCPU_Timer");
    int32_t cpu = 0;
    t([&] {
        if (!cpuSampler_) raiseError(errObjectNotSet);
        cpu = cpuSampler_->CurrentCPUUsage();
    });
    t([&] { cpu = std::clamp(cpu, 0, 100); });
    t([&] { ctx_.frmMain.get<Label>("lblCPU").setCaption(numberText(cpu) + "%"); });
    t([&] { drawCPUGraph(cpu); });
    t([&] { ctx_.state.lastCPU = cpu; });
}

void Graphs::drawCPUGraph(int32_t cpu) {
    Trap t = ctx_.trap(",drawCPUGraph");
    int16_t rows = 0;
    if (!runUnlessSubscript(t, [&] { picCPU_.cls(); })) return;
    if (!runUnlessSubscript(t, [&] { rows = toInt16(cpu * 0.17); })) return;
    // Rows light from the bottom (y = 95) upward.
    runUnlessSubscript(t, [&] {
        for (int i = 0; i < rows; ++i) drawMeterRow(picCPU_, 95 - 5 * i, kLitBarColor);
    });
}

void Graphs::optCPU_Click(int index) {
    static const std::array<int, 3> kIntervals = {5000, 2000, 1000};  // Slower, Medium, Faster
    Trap t = ctx_.trap(",optCPU_Click");
    t([&] {
        if (index < 0 || index >= static_cast<int>(kIntervals.size())) raiseError(errSubscript);
        if (tmrCPU_.interval() != kIntervals[index]) tmrCPU_.setInterval(kIntervals[index]);
    });
    t([&] { SettingsFile(ctx_).writeKeyAlways("Startup", "CPUUpdate", index); });  // also while loading
}

}  // namespace qm
