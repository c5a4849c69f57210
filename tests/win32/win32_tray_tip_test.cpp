// The tray tip waits for the pointer: a change of the tip alone is held until the pointer
// comes near the icon, every other record goes to the shell at once.
#include <gtest/gtest.h>

#include "ui/win32/tray_tip_hold.h"

namespace qm::win32 {
namespace {

NotifyIconData record(const char* tip) {
    NotifyIconData data;
    data.uID = 1;
    data.uFlags = 7;
    data.icon = "quillmere";
    data.tip = tip;
    return data;
}

TEST(TrayTipHold, ATipChangeWaitsForThePointerAndTheNewestGoes) {
    TrayTipHold hold;
    EXPECT_FALSE(hold.holds(NIM_ADD_, record("512 MB"), 0));
    EXPECT_TRUE(hold.holds(NIM_MODIFY_, record("511 MB"), 1000));
    EXPECT_TRUE(hold.holds(NIM_MODIFY_, record("510 MB"), 2000));
    std::optional<NotifyIconData> released = hold.pointerNear(2500);
    ASSERT_TRUE(released.has_value());
    EXPECT_EQ(released->tip, "510 MB");
    EXPECT_FALSE(hold.pointerNear(2600).has_value()) << "released once";

    EXPECT_FALSE(hold.holds(NIM_MODIFY_, record("509 MB"), 3000)) << "the pointer was there lately";
    EXPECT_FALSE(hold.holds(NIM_MODIFY_, record("508 MB"), 2600 + TrayTipHold::kPointerLately));
    EXPECT_TRUE(hold.holds(NIM_MODIFY_, record("507 MB"), 2601 + TrayTipHold::kPointerLately)) << "long gone";
}

TEST(TrayTipHold, OtherChangesGoAtOnceAndDropAHeldTip) {
    TrayTipHold hold;
    EXPECT_FALSE(hold.holds(NIM_MODIFY_, record("512 MB"), 0)) << "no icon shown: the shell answers";
    EXPECT_FALSE(hold.holds(NIM_ADD_, record("512 MB"), 0));
    EXPECT_TRUE(hold.holds(NIM_MODIFY_, record("511 MB"), 100));
    NotifyIconData other = record("510 MB");
    other.icon = "busy";
    EXPECT_FALSE(hold.holds(NIM_MODIFY_, other, 200)) << "a new icon goes, with the newest tip";
    EXPECT_FALSE(hold.pointerNear(300).has_value()) << "nothing left held";

    TrayTipHold later;
    later.holds(NIM_ADD_, record("512 MB"), 0);
    EXPECT_TRUE(later.holds(NIM_MODIFY_, record("511 MB"), 100));
    EXPECT_FALSE(later.holds(NIM_DELETE_, record("511 MB"), 200));
    EXPECT_FALSE(later.pointerNear(300).has_value()) << "the icon is gone";
    EXPECT_FALSE(later.holds(NIM_MODIFY_, record("510 MB"), 400)) << "nothing shown to hold for";
}

}  // namespace
}  // namespace qm::win32
