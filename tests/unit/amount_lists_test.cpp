#include "memory/amount_lists.h"

#include "forms/picture_box.h"
#include "support/core_fixture.h"

namespace qm::test {
namespace {

class AmountListsTest : public MemoryPageTest {
protected:
    // The start-up sequence's part: totals and scales, then the lists, while loading.
    void start(uint64_t totalBytes, uint64_t pageBytes) {
        fakes.memory.current = {totalBytes, totalBytes / 2, pageBytes, pageBytes / 2};
        whileLoading([&] {
            lists.initMemory();
            lists.loadRAM();
        });
    }
    std::vector<std::string> scale(const std::string& label) {
        std::vector<std::string> captions;
        for (int k = 0; k < 4; ++k) captions.push_back(frm.element<Label>(label, k).caption());
        return captions;
    }
    ListBox& lstRam() { return control<ListBox>("lstRam"); }
    void expectAmountLists(int entries, const std::string& last) {
        for (const char* name : {"lstRam", "lstTimeAmount", "lstAutoAmount", "cmbAutoRelease"}) {
            const ListControl& list = control<ListControl>(name);
            ASSERT_EQ(list.listCount(), entries) << name;
            EXPECT_EQ(list.list(0), "2 MB") << name;
            EXPECT_EQ(list.list(entries - 1), last) << name;
        }
        const ListControl& startup = control<ComboBox>("cmbStartupRam");
        ASSERT_EQ(startup.listCount(), entries + 1);
        EXPECT_EQ(startup.list(0), "0 MB");
        EXPECT_EQ(startup.list(entries), last);
    }
};

TEST_F(AmountListsTest, Machine256MB) {
    start(256 * MB, 512 * MB);
    EXPECT_EQ(lists.totals().physMB, 257);
    EXPECT_EQ(lists.totals().pageMB, 513);
    expectAmountLists(128, "256 MB");
    EXPECT_EQ(lstRam().text(), "2 MB");  // no stored amount: the first entry
    EXPECT_EQ(scale("lblP"), (std::vector<std::string>{"0 MB", "85 MB", "170 MB", "255 MB"}));
    EXPECT_EQ(scale("lblV"), (std::vector<std::string>{"0 MB", "171 MB", "342 MB", "513 MB"}));
    EXPECT_EQ(control<Label>("lblPM").caption(), "Total Physical Memory: 262144 KB");
    EXPECT_EQ(control<Label>("lblVM").caption(), "Total Page File Memory: 524288 KB");
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(AmountListsTest, Machine1024MB) {
    start(1024 * MB, 2048 * MB);
    EXPECT_EQ(lists.totals().physMB, 1025);
    expectAmountLists(512, "1024 MB");
    EXPECT_EQ(scale("lblP"), (std::vector<std::string>{"0 MB", "341 MB", "682 MB", "1023 MB"}));
    EXPECT_EQ(control<Label>("lblPM").caption(), "Total Physical Memory: 1048576 KB");
}

TEST_F(AmountListsTest, Machine255Point4MBStillEndsAt256MB) {
    start(static_cast<uint64_t>(255.4 * MB), 1024 * MB);
    EXPECT_EQ(lists.totals().physMB, 256);
    expectAmountLists(128, "256 MB");
}

TEST_F(AmountListsTest, KilobyteCaptionLeavesOutTheAddedMegabyte) {
    start(static_cast<uint64_t>(511.5 * MB), 1024 * MB);
    EXPECT_EQ(control<Label>("lblPM").caption(), "Total Physical Memory: 523776 KB");
    EXPECT_EQ(lists.totals().physMB, 513);  // 511.5 rounds to the even 512
}

TEST_F(AmountListsTest, MachineAboveTwoGigabytesStopsAtAThousandEntries) {
    start(16384 * MB, 32768 * MB);
    EXPECT_EQ(lists.totals().physMB, 16385);
    EXPECT_EQ(lists.totals().pageMB, 32769);  // beyond 16 bits
    expectAmountLists(1000, "2000 MB");
    EXPECT_EQ(scale("lblP"), (std::vector<std::string>{"0 MB", "5461 MB", "10922 MB", "16383 MB"}));
    EXPECT_EQ(control<Label>("lblPM").caption(), "Total Physical Memory: 16777216 KB");
    EXPECT_EQ(control<Label>("lblVM").caption(), "Total Page File Memory: 33554432 KB");
}

TEST_F(AmountListsTest, ScaleLinesDivideTheGraphIntoThirdsWithLabelsCentred) {
    const PictureBox& graph = control<PictureBox>("picPhysical");
    const Line& designed = frm.element<Line>("lnP", 2);
    const int x1 = designed.x1(), x2 = designed.x2();
    start(256 * MB, 512 * MB);
    const double bottom = graph.top() + graph.height();
    for (int k = 0; k < 4; ++k) {
        const Line& line = frm.element<Line>("lnP", k);
        const Label& label = frm.element<Label>("lblP", k);
        EXPECT_NEAR(line.y1(), bottom - k * graph.height() / 3.0, 0.5) << k;
        EXPECT_EQ(line.y2(), line.y1());
        EXPECT_NEAR(label.top() + label.height() / 2.0, line.y1(), 0.5) << k;
    }
    EXPECT_EQ(frm.element<Line>("lnP", 3).y1(), graph.top());
    EXPECT_EQ(designed.x1(), x1);  // horizontal ends stay as designed
    EXPECT_EQ(designed.x2(), x2);
    const PictureBox& page = control<PictureBox>("picVirtual");
    EXPECT_EQ(frm.element<Line>("lnV", 0).y1(), page.top() + page.height());
}

TEST_F(AmountListsTest, StoredAmountIsRestoredWithoutWritingDuringLoading) {
    const std::string path = ctx.programFile("settings.ini");
    fakes.files.files[path] = "[RAM]\r\nRelease=5\r\n";
    const std::string designedMenu = control<Menu>("mnuRelease").caption();
    start(256 * MB, 512 * MB);
    EXPECT_EQ(lstRam().text(), "12 MB");
    EXPECT_EQ(fakes.files.files[path], "[RAM]\r\nRelease=5\r\n");
    EXPECT_EQ(control<Menu>("mnuRelease").caption(), designedMenu);
    // lstTimeAmount writes even while loading, as the first start of the program shows.
    settings.setLoading(true);
    control<ListBox>("lstTimeAmount").setListIndex(0);
    EXPECT_EQ(stored("Time", "Release"), "0");
}

TEST_F(AmountListsTest, StoredAmountThatDoesNotFitLeavesNoSelection) {
    start(256 * MB, 512 * MB);
    const std::string path = ctx.programFile("settings.ini");
    for (const char* stored : {"128", "abc", "-1"}) {
        fakes.files.files[path] = std::string("[RAM]\r\nRelease=") + stored + "\r\n";
        lstRam().clear();
        lists.loadRAM();
        EXPECT_EQ(lstRam().listIndex(), -1) << stored;
    }
    EXPECT_TRUE(log.entries.empty());
    fakes.files.files[path] = "[RAM]\r\nRelease=-2\r\n";
    lists.loadRAM();
    EXPECT_TRUE(log.has("frmMain,loadRAM", errInvalidPropertyValue));
}

TEST_F(AmountListsTest, ChoosingAnAmountWritesItAndRenamesTheMenuEntry) {
    start(1024 * MB, 2048 * MB);
    lstRam().userSelect(255);
    EXPECT_EQ(stored("RAM", "Release"), "255");
    EXPECT_EQ(control<Menu>("mnuRelease").caption(), "Free Up 512 MB Now");
    control<ListBox>("lstTimeAmount").userSelect(3);
    EXPECT_EQ(stored("Time", "Release"), "3");
}

}  // namespace
}  // namespace qm::test
