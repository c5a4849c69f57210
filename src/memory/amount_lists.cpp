#include "memory/amount_lists.h"

#include <cmath>

#include "base/convert.h"
#include "forms/picture_box.h"
#include "settings/load_rules.h"

namespace qm {

namespace {

constexpr double kBytesPerKB = 1024.0;
constexpr double kBytesPerMB = 1024.0 * 1024.0;

int32_t roundedTotalMB(uint64_t bytes) { return toInt32(roundHalfEven(static_cast<double>(bytes) / kBytesPerMB) + 1); }

std::string mbText(int64_t mb) { return std::to_string(mb) + " MB"; }

int roundedTwips(double twips) { return static_cast<int>(roundHalfEven(twips)); }

}  // namespace

AmountLists::AmountLists(SubsystemContext& ctx, SettingsFile& settings)
    : ctx_(ctx),
      settings_(settings),
      lstRam_(ctx.frmMain.get<ListBox>("lstRam")),
      cmbStartupRam_(ctx.frmMain.get<ComboBox>("cmbStartupRam")),
      lstTimeAmount_(ctx.frmMain.get<ListBox>("lstTimeAmount")),
      lstAutoAmount_(ctx.frmMain.get<ListBox>("lstAutoAmount")),
      cmbAutoRelease_(ctx.frmMain.get<ComboBox>("cmbAutoRelease")),
      mnuRelease_(ctx.frmMain.get<Menu>("mnuRelease")),
      amountLists_{&lstRam_, &cmbStartupRam_, &lstTimeAmount_, &lstAutoAmount_, &cmbAutoRelease_} {
    lstRam_.onClick = [this] { lstRam_Click(); };
    lstTimeAmount_.onClick = [this] { lstTimeAmount_Click(); };
}

void AmountLists::initMemory() {
    auto t = ctx_.trap(",initMemory");
    MemoryStatus status{};
    t([&] { status = ctx_.platform.memory.status(); });
    setTotals(t, status.totalPhys, status.totalPageFile);
    appendKB(t, "lblPM", status.totalPhys);
    appendKB(t, "lblVM", status.totalPageFile);
    layoutScale(t, "lblP", "lnP", "picPhysical", totals_.physMB);
    layoutScale(t, "lblV", "lnV", "picVirtual", totals_.pageMB);
}

void AmountLists::setTotals(Trap& t, uint64_t totalPhys, uint64_t totalPage) {
    t([&] { totals_.physMB = roundedTotalMB(totalPhys); });
    t([&] { totals_.pageMB = roundedTotalMB(totalPage); });
}

// The caption gains the total in KB, without the added one MB (appended: once per window).
void AmountLists::appendKB(Trap& t, const char* label, uint64_t bytes) {
    t([&] {
        Label& caption = ctx_.frmMain.get<Label>(label);
        const auto kb = static_cast<int64_t>(roundHalfEven(static_cast<double>(bytes) / kBytesPerKB));
        caption.setCaption(caption.caption() + " " + std::to_string(kb) + " KB");
    });
}

// Four labels (0, one, two and three thirds of the total, in whole steps) centred on four
// lines that divide the graph into thirds from its lower edge up.
void AmountLists::layoutScale(Trap& t, const char* label, const char* line, const char* picture,
                              int32_t totalMB) {
    const int32_t step = (totalMB - totalMB % 3) / 3;
    for (int k = 0; k < 4; ++k) {
        t([&] { ctx_.frmMain.element<Label>(label, k).setCaption(mbText(int64_t{k} * step)); });
    }
    const Control& graph = ctx_.frmMain.get<PictureBox>(picture);
    double height = graph.top() + graph.height();
    for (int k = 0; k < 4; ++k, height -= graph.height() / 3.0) {
        t([&] {
            Line& marker = ctx_.frmMain.element<Line>(line, k);
            marker.setPoints(marker.x1(), roundedTwips(height), marker.x2(), roundedTwips(height));
        });
    }
    for (int k = 0; k < 4; ++k) {
        t([&] {
            Label& caption = ctx_.frmMain.element<Label>(label, k);
            const int top = roundedTwips(ctx_.frmMain.element<Line>(line, k).y1() - caption.height() / 2.0);
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
    t([&] { selectEntryIfListed(lstRam_, settings_.getData("RAM", "Release", "0")); });
}

void AmountLists::addAmount(Trap& t, const std::string& entry) {
    for (ListControl* list : amountLists_) {
        t([&] { list->addItem(entry); });
    }
}

void AmountLists::lstRam_Click() {
    if (settings_.isLoading()) return;
    auto t = ctx_.trap(",lstRam_Click");
    t([&] { settings_.writeKey("RAM", "Release", lstRam_.listIndex()); });
    t([&] { mnuRelease_.setCaption("Free Up " + lstRam_.text() + " Now"); });
}

// Unguarded: it writes while the loaders run as well.
void AmountLists::lstTimeAmount_Click() {
    auto t = ctx_.trap(",lsttimeAMount_Click");
    t([&] { settings_.writeKeyAlways("Time", "Release", lstTimeAmount_.listIndex()); });
}

}  // namespace qm
