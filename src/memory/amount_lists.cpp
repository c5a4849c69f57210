#include "memory/amount_lists.h"

#include "base/catalogue.h"

#include <cmath>

#include "base/convert.h"
#include "forms/picture_box.h"
#include "memory/time_options.h"

namespace qm {

namespace {

constexpr double kBytesPerKB = 1024.0;
constexpr double kBytesPerMB = 1024.0 * 1024.0;

int32_t roundedTotalMB(uint64_t bytes) { return toInt32(roundHalfEven(static_cast<double>(bytes) / kBytesPerMB) + 1); }

std::string mbText(int64_t mb) { return std::to_string(mb) + " MB"; }

// The on-demand amount; applied once the lists are filled.
constexpr OptionRow kRamOption = storedOption(mainForm::lstRam, "RAM", "Release", "0", LoadRule::SelectEntryIfListed,
                                              StoreRule::ListIndex);

int roundedTwips(double twips) { return static_cast<int>(roundHalfEven(twips)); }

}  // namespace

AmountLists::AmountLists(SubsystemContext& ctx, SettingsFile& settings)
    : ctx_(ctx),
      settings_(settings),
      lstRam_(ctx.frmMain.get(mainForm::lstRam)),
      cmbStartupRam_(ctx.frmMain.get(mainForm::cmbStartupRam)),
      lstTimeAmount_(ctx.frmMain.get(mainForm::lstTimeAmount)),
      lstAutoAmount_(ctx.frmMain.get(mainForm::lstAutoAmount)),
      cmbAutoRelease_(ctx.frmMain.get(mainForm::cmbAutoRelease)),
      mnuRelease_(ctx.frmMain.get(mainForm::mnuRelease)),
      amountLists_{&lstRam_, &cmbStartupRam_, &lstTimeAmount_, &lstAutoAmount_, &cmbAutoRelease_} {
    lstRam_.onClick = [this] { lstRam_Click(); };
    lstTimeAmount_.onClick = [this] { lstTimeAmount_Click(); };
}

void AmountLists::initMemory() {
    auto t = ctx_.trap(",initMemory");
    MemoryStatus status{};
    t([&] { status = ctx_.platform.memory.status(); });
    setTotals(t, status.totalPhys, status.totalPageFile);
    appendKB(t, mainForm::lblPM, status.totalPhys);
    appendKB(t, mainForm::lblVM, status.totalPageFile);
    layoutScale(t, mainForm::lblP, mainForm::lnP, mainForm::picPhysical, totals_.physMB);
    layoutScale(t, mainForm::lblV, mainForm::lnV, mainForm::picVirtual, totals_.pageMB);
}

void AmountLists::setTotals(Trap& t, uint64_t totalPhys, uint64_t totalPage) {
    t([&] { totals_.physMB = roundedTotalMB(totalPhys); });
    t([&] { totals_.pageMB = roundedTotalMB(totalPage); });
}

// The caption gains the total in KB, without the added one MB (appended: once per window).
// Nothing reads it back, so it is composed in the user's language.
void AmountLists::appendKB(Trap& t, ControlName<Label> label, uint64_t bytes) {
    t([&] {
        Label& caption = ctx_.frmMain.get(label);
        const auto kb = static_cast<int64_t>(roundHalfEven(static_cast<double>(bytes) / kBytesPerKB));
        caption.setCaption(shown(caption.caption()) + " " + std::to_string(kb) + " KB");
    });
}

// Four labels (0, one, two and three thirds of the total, in whole steps) centred on four
// lines that divide the graph into thirds from its lower edge up.
void AmountLists::layoutScale(Trap& t, ControlName<Label> label, ControlName<Line> line, ControlName<PictureBox> picture,
                              int32_t totalMB) {
    const int32_t step = (totalMB - totalMB % 3) / 3;
    for (int k = 0; k < 4; ++k) {
        t([&] { ctx_.frmMain.element(label, k).setCaption(mbText(int64_t{k} * step)); });
    }
    const Control& graph = ctx_.frmMain.get(picture);
    double height = graph.top() + graph.height();
    for (int k = 0; k < 4; ++k, height -= graph.height() / 3.0) {
        t([&] {
            Line& marker = ctx_.frmMain.element(line, k);
            marker.setPoints(marker.x1(), roundedTwips(height), marker.x2(), roundedTwips(height));
        });
    }
    for (int k = 0; k < 4; ++k) {
        t([&] {
            Label& caption = ctx_.frmMain.element(label, k);
            const int top = roundedTwips(ctx_.frmMain.element(line, k).y1() - caption.height() / 2.0);
            caption.move(caption.left(), top, caption.width(), caption.height());
        });
    }
}

void AmountLists::loadRAM() {
    auto t = ctx_.trap(",loadRAM");
    t([&] { cmbStartupRam_.addItem("0 MB"); });
    for (int i = 1; i <= kMaxEntries; ++i) {
        const int n = 2 * i;
        if (n > totals_.physMB) break;
        addAmount(t, mbText(n));
    }
    runLoadStep(t, ctx_.frmMain, settings_, kRamOption);
}

void AmountLists::addAmount(Trap& t, const std::string& entry) {
    for (ListControl* list : amountLists_) {
        t([&] { list->addItem(entry); });
    }
}

void AmountLists::lstRam_Click() {
    if (settings_.isLoading()) return;
    auto t = ctx_.trap(",lstRam_Click");
    storeOption(t, ctx_.frmMain, settings_, kRamOption);
    t([&] { mnuRelease_.setCaption(formatText(N_("Free Up %1 Now"), {lstRam_.text()})); });
}

// Unguarded: it writes while the loaders run as well.
void AmountLists::lstTimeAmount_Click() {
    auto t = ctx_.trap(",lsttimeAMount_Click");
    storeOption(t, ctx_.frmMain, settings_, rowOf(kTimeBeforeUnit, mainForm::lstTimeAmount));
}

}  // namespace qm
