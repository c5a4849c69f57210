#include "monitor/gauges.h"

#include "base/catalogue.h"

#include "base/convert.h"

namespace qm {

namespace {

constexpr double kBytesPerMB = 1024.0 * 1024.0;
constexpr int kGaugeLineSpacing = 60;  // twips between two segment lines

// Whole megabytes as a 32-bit value, so machines with 32 GB and more still show their figures.
int32_t wholeMB(double mb) { return toInt32(roundTo(mb, 0)); }

}  // namespace

MemoryFigures memoryFigures(const MemoryStatus& status) {
    return {static_cast<double>(status.availPhys) / kBytesPerMB, static_cast<double>(status.availPageFile) / kBytesPerMB};
}

int16_t availablePercent(int32_t mb, int32_t totalMB) {
    if (totalMB == 0) raiseError(mb == 0 ? errOverflow : errDivisionByZero);
    return toInt16(static_cast<double>(mb) / totalMB * 100);
}

Gauges::Gauges(SubsystemContext& ctx, Graphs& graphs, const MemoryTotals& totals, const CpuSamplerSlot& cpuSampler,
               ToolTipSink changeToolTip)
    : ctx_(ctx),
      graphs_(graphs),
      totals_(totals),
      cpuSampler_(cpuSampler),
      changeToolTip_(std::move(changeToolTip)),
      picPProgress_(ctx.frmMain.get(mainForm::picPProgress)),
      picVProgress_(ctx.frmMain.get(mainForm::picVProgress)) {
    Form& frm = ctx.frmMain;
    frm.get(mainForm::tmrMemory).onTimer = [this] { tmrMemory_Timer(); };
    picPProgress_.onPaint = [this] { picPProgress_Paint(); };
    picVProgress_.onPaint = [this] { picVProgress_Paint(); };
    frm.get(mainForm::picPhysical).onPaint = [this] { picPhysical_Paint(); };
    frm.get(mainForm::picVirtual).onPaint = [this] { picVirtual_Paint(); };
    frm.get(mainForm::picCPU).onPaint = [this] { picCPU_Paint(); };
}

void Gauges::initProgressBar() {
    Trap t = ctx_.trap(",initProgressBar");
    Form& frm = ctx_.frmMain;
    // Shown as the sampler returns it; the CPU timer clamps it from then on.
    t([&] {
        if (!cpuSampler_) raiseError(errObjectNotSet);
        frm.get(mainForm::lblCPU).setCaption(numberText(cpuSampler_->CurrentCPUUsage()) + "%");
    });
    MemoryFigures memory;
    t([&] { memory = memoryFigures(ctx_.platform.memory.status()); });
    t([&] { frm.setCaption(std::string(kAppTitle) + " " + kTitleVersion + " " + numberText(toInt32(roundTo(memory.physMB, 2))) + " MB"); });
    int32_t physMB = 0, pageMB = 0;
    t([&] { physMB = wholeMB(memory.physMB); });
    t([&] { pageMB = wholeMB(memory.pageMB); });
    showPercents(t, physMB, pageMB);
}

void Gauges::tmrMemory_Timer() {
    Trap t = ctx_.trap(",tmrMemory_Timer");
    bool due = true;
    t([&] { due = graphs_.refreshDue(); });
    if (!due) return;
    // One sample of the machine; every figure of this tick comes from it.
    MemoryFigures memory;
    t([&] { memory = memoryFigures(ctx_.platform.memory.status()); });
    int32_t physMB = 0, pageMB = 0;
    float physMBfine = 0;
    t([&] { physMB = wholeMB(memory.physMB); });
    t([&] { pageMB = wholeMB(memory.pageMB); });
    t([&] { physMBfine = static_cast<float>(roundTo(memory.physMB, 2)); });
    Form& frm = ctx_.frmMain;
    t([&] { frm.setCaption(std::string(kAppTitle) + " " + kTitleVersion + " - " + singleText(physMBfine) + " MB"); });
    t([&] {
        if (changeToolTip_) changeToolTip_(frm.caption());
    });
    t([&] { frm.get(mainForm::picPhysical).setToolTip(formatText(N_("Last Value = %1 MB"), {singleText(physMBfine)})); });
    t([&] { frm.get(mainForm::picVirtual).setToolTip(formatText(N_("Last Value = %1 MB"), {numberText(pageMB)})); });
    storeSample(t, showPercents(t, physMB, pageMB));
    t([&] { graphs_.drawGraph(); });
}

Gauges::Percents Gauges::showPercents(Trap& t, int32_t physMB, int32_t pageMB) {
    Percents percents;
    t([&] { percents.phys = availablePercent(physMB, totals_.physMB); });
    t([&] { percents.page = availablePercent(pageMB, totals_.pageMB); });
    Form& frm = ctx_.frmMain;
    t([&] { frm.get(mainForm::lblPPercent).setCaption(formatText(N_("%1% Available"), {numberText(percents.phys)})); });
    t([&] { frm.get(mainForm::lblVPercent).setCaption(formatText(N_("%1% Available"), {numberText(percents.page)})); });
    t([&] { drawProgressBar(percents.phys, percents.page); });
    t([&] { lastPhysPercent_ = percents.phys; });
    t([&] {
        if (onPhysicalPercent) onPhysicalPercent(lastPhysPercent_);
    });
    t([&] { lastPagePercent_ = percents.page; });
    return percents;
}

void Gauges::storeSample(Trap& t, Percents percents) {
    t([&] { graphs_.addSample(percents.phys, percents.page); });
}

void Gauges::drawProgressBar(int16_t physPercent, int16_t pagePercent) {
    Trap t = ctx_.trap(",drawProgressBar");
    t([&] { drawBar(picPProgress_, physPercent); });
    t([&] { drawBar(picVProgress_, pagePercent); });
}

void Gauges::drawBar(PictureBox& bar, int16_t percent) {
    const int width = bar.width();
    const int height = bar.height();
    const int16_t fill = toInt16(percent * static_cast<double>(width) * 0.01);
    const int16_t count = toInt16(static_cast<double>(width) / kGaugeLineSpacing);
    if (bar.drawingLost()) return;
    // Not cleared: each line takes the colour of this call, the gaps keep the background.
    bar.setForeColor(kGaugeFreeColor);
    int x = kGaugeLineSpacing;
    for (int i = 0; i <= count; ++i) {
        if (x >= fill) bar.setForeColor(kGaugeUsedColor);
        bar.line(x, height, x, 0);
        x += kGaugeLineSpacing;
    }
}

void Gauges::picPProgress_Paint() { drawProgressBar(lastPhysPercent_, lastPagePercent_); }
void Gauges::picVProgress_Paint() { drawProgressBar(lastPhysPercent_, lastPagePercent_); }
void Gauges::picPhysical_Paint() { graphs_.drawGraph(); }
void Gauges::picVirtual_Paint() { graphs_.drawGraph(); }
void Gauges::picCPU_Paint() { graphs_.drawCPUGraph(graphs_.lastCPU()); }

}  // namespace qm
