#include "monitor/graphs.h"

#include <algorithm>
#include <array>

#include "base/convert.h"
#include "forms/canvas.h"
#include "settings/load_rules.h"
#include "settings/startup_options.h"

namespace qm {

namespace {

// The graphs' pace, stored as seconds: read and written by the graphs themselves.
constexpr OptionRow kGraphInterval = storedOption(mainForm::cmbUpdateGraph, "Memory", "GraphInterval", "1.5",
                                                  LoadRule::ByHandler, StoreRule::ByHandler);

constexpr const char* kGraphBack = "graphback.bmp";
constexpr const char* kCpuBack = "cpuback.bmp";
constexpr int kMeterRows = 17;
// Our backgrounds are a few hundred KB; anything far larger is no picture of ours.
constexpr uint64_t kMaxPictureFileBytes = 16 * 1024 * 1024;

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

Graphs::Graphs(SubsystemContext& ctx, SettingsFile& settings, const CpuSamplerSlot& cpuSampler)
    : ctx_(ctx),
      settings_(settings),
      cpuSampler_(cpuSampler),
      picPhysical_(ctx.frmMain.get(mainForm::picPhysical)),
      picVirtual_(ctx.frmMain.get(mainForm::picVirtual)),
      picCPU_(ctx.frmMain.get(mainForm::picCPU)),
      cmbUpdateGraph_(ctx.frmMain.get(mainForm::cmbUpdateGraph)),
      tmrCPU_(ctx.frmMain.get(mainForm::tmrCPU)) {
    cmbUpdateGraph_.onClick = [this] { cmbUpdateGraph_Click(); };
    tmrCPU_.onTimer = [this] { tmrCPU_Timer(); };
    for (int index : ctx.frmMain.elementIndexes(mainForm::optCPU)) {
        ctx.frmMain.element(mainForm::optCPU, index).onClick = [this](int i) { optCPU_Click(i); };
    }
    clearHistories();
}

void Graphs::clearHistories() {
    physHistory_.fill(-1);
    pageHistory_.fill(-1);
}

void Graphs::addSample(int16_t physPercent, int16_t pagePercent) {
    shiftHistory();
    physHistory_[kHistoryLength - 1] = toInt16(physPercent * 0.69);
    pageHistory_[kHistoryLength - 1] = toInt16(pagePercent * 0.69);
}

bool Graphs::refreshDue() {
    if (cmbUpdateGraph_.listIndex() == 0) return true;
    // Timed by the tick count, which never goes back (a wall clock does when daylight saving
    // ends); the unsigned difference also spans its wrap. Whole seconds still count from
    // the wall clock's second at the last refresh.
    ClockPort& clock = ctx_.platform.clock;
    const uint32_t tick = clock.tickCount();
    const DateTime elapsedEnd{lastGraphTime_.ms + static_cast<uint32_t>(tick - lastGraphTick_)};
    if (!(static_cast<double>(wholeSecondsBetween(lastGraphTime_, elapsedEnd)) > graphInterval_)) return false;
    lastGraphTime_ = clock.now();
    lastGraphTick_ = tick;
    return true;
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
    bool usable = false;
    t([&] { usable = holdsBitmap(path); });
    if (usable) return;
    t([&] { box.setAutoRedraw(true); });
    t([&] { drawGrid(box); });
    t([&] { box.keepImageAsPicture(); });
    t([&] { ctx_.platform.files.writeAll(path, pictureFileBytes(box.image())); });
    t([&] { box.setAutoRedraw(false); });
}

bool Graphs::holdsBitmap(const std::string& path) {
    FilesPort& files = ctx_.platform.files;
    if (!files.fileExists(path)) return false;
    const std::string bytes = files.readAll(path, kMaxPictureFileBytes);
    return decodeBmp(std::vector<uint8_t>(bytes.begin(), bytes.end())).has_value();
}

void Graphs::loadBackground(PictureBox& box, const std::string& file) {
    box.setPicture(pictureFromFileBytes(ctx_.platform.files.readAll(ctx_.programFile(file), kMaxPictureFileBytes)));
}

void Graphs::loadGraph() {
    Trap t = ctx_.trap(",loadGraph");
    std::string stored = kGraphInterval.missing;
    t([&] { stored = settings_.getData(kGraphInterval.section, kGraphInterval.key, kGraphInterval.missing); });
    // Selecting raises cmbUpdateGraph_Click, which sets the interval.
    t([&] { selectGraphInterval(cmbUpdateGraph_, stored); });
    t([&] {
        lastGraphTime_ = ctx_.platform.clock.now();
        lastGraphTick_ = ctx_.platform.clock.tickCount();
    });
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
    t([&] { graphInterval_ = second.find("Second") != std::string::npos ? val(first) : val(first) * 60; });
    // Stored with "." whatever the locale, so that loadGraph finds "1.5" again; also while loading.
    t([&] { settings_.writeNumberAlways(kGraphInterval.section, kGraphInterval.key, graphInterval_); });
}

void Graphs::shiftHistory() {
    std::copy(physHistory_.begin() + 1, physHistory_.end(), physHistory_.begin());
    std::copy(pageHistory_.begin() + 1, pageHistory_.end(), pageHistory_.begin());
}

void Graphs::drawGraph() {
    Trap t = ctx_.trap(",drawGraph");
    t([&] { picPhysical_.cls(); });
    t([&] { picVirtual_.cls(); });
    t([&] { drawHistory(picPhysical_, physHistory_); });
    t([&] { drawHistory(picVirtual_, pageHistory_); });
}

void Graphs::drawHistory(PictureBox& box, const History& history) {
    if (box.drawingLost()) return;
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
    t([&] { ctx_.frmMain.get(mainForm::lblCPU).setCaption(numberText(cpu) + "%"); });
    t([&] { drawCPUGraph(cpu); });
    t([&] { lastCPU_ = cpu; });
}

void Graphs::drawCPUGraph(int32_t cpu) {
    Trap t = ctx_.trap(",drawCPUGraph");
    int16_t rows = 0;
    if (!runUnlessSubscript(t, [&] { picCPU_.cls(); })) return;
    if (!runUnlessSubscript(t, [&] { rows = toInt16(cpu * 0.17); })) return;
    // Rows light from the bottom (y = 95) upward.
    runUnlessSubscript(t, [&] {
        if (picCPU_.drawingLost()) return;
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
    storeOption(t, ctx_.frmMain, settings_, rowOf(kStartupOptions, mainForm::optCPU), index);  // also while loading
}

}  // namespace qm
