#include <gtest/gtest.h>

#include "app/error_log.h"
#include "support/fake_platform.h"
#include "forms/headless_host.h"

namespace qm {
namespace {

using test::FakeFiles;
using test::FakeInternet;

const std::string kPath = "C:\\Apps\\Quillmere\\error";

struct ErrorLogTest : ::testing::Test {
    HeadlessHost host;
    FakeFiles files;
    FakeInternet inet;
    test::HostClock clock{host};
    ErrorLog log{files, inet, host, clock, kPath};

    std::vector<ErrorEntry> entries() { return readErrorEntries(files.files[kPath]); }
};

TEST(Scrambling, PrintableTextStaysClearOfSeparatorsAndRoundTrips) {
    std::string printable;
    for (int c = 32; c < 127; ++c) printable += static_cast<char>(c);
    const std::string scrambled = CryptData(printable);
    EXPECT_EQ(scrambled.size(), printable.size());
    EXPECT_EQ(scrambled.find_first_of("\",\r\n"), std::string::npos);
    EXPECT_EQ(DecryptData(scrambled), printable);
    EXPECT_EQ(CryptData(""), "");
}

TEST(Scrambling, CharactersShiftedPastAByteAreLeftOut) {
    const std::string text = std::string("a") + static_cast<char>(250) + "b";
    EXPECT_EQ(DecryptData(CryptData(text)), "ab");
    EXPECT_EQ(DecryptData(std::string(1, '\x05')), "");
}

TEST_F(ErrorLogTest, NoErrorTouchesNothing) {
    log.logError("frmMain,loadMenu", 0, "");
    EXPECT_FALSE(files.fileExists(kPath));
    EXPECT_EQ(inet.cancels, 0);
}

TEST_F(ErrorLogTest, OneEntryPerNumberInFirstSeenOrder) {
    log.logError("frmMain,loadMenu", 5, "Invalid procedure call or argument");
    log.logError("frmMain,Form_Load", 5, "something else");
    log.logError("modReg,regSetValue", 55, "File already open");
    log.logError("frmMain,tmrRam_Timer", -2147024809, "The parameter is incorrect.");
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].context, "frmMain,loadMenu");
    EXPECT_EQ(stored[0].number, "5");
    EXPECT_EQ(stored[0].description, "Invalid procedure call or argument");
    EXPECT_EQ(stored[1].number, "55");  // 5 and 55 are different numbers
    EXPECT_EQ(stored[2].number, "-2147024809");
    const std::string& text = files.files[kPath];
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(text.find("Invalid"), std::string::npos);  // not plain text
}

TEST_F(ErrorLogTest, FileIsNeverShortenedAndJunkLinesAreKept) {
    files.files[kPath] = "garbage line without quotes\r\n\"only one field\r\n";
    const std::string before = files.files[kPath];
    log.logError("frmMain,initGraph", 53, "File not found");
    log.logError("frmMain,initGraph", 53, "File not found");
    EXPECT_EQ(files.files[kPath].substr(0, before.size()), before);
    EXPECT_EQ(entries().size(), 3u);
    EXPECT_EQ(entries().back().number, "53");
}

TEST_F(ErrorLogTest, UnreadableOrUnwritableFileNeverFailsTheCaller) {
    files.files[kPath] = errorEntryLine("frmMain,x", 9, "Subscript out of range");
    files.unreadable.insert(kPath);
    EXPECT_NO_THROW(log.logError("frmMain,y", 13, "Type mismatch"));
    EXPECT_EQ(files.files[kPath], errorEntryLine("frmMain,x", 9, "Subscript out of range"));
    files.unreadable.clear();
    files.unwritable.insert(kPath);
    EXPECT_NO_THROW(log.logError("frmMain,y", 13, "Type mismatch"));
}

// A log far past what one entry per number makes is not ours to parse: it is not read
// whole and gets no entry, so a second entry of a number it may hold cannot happen.
TEST_F(ErrorLogTest, ALogPastItsBoundIsLeftAsItIs) {
    files.files[kPath] = std::string(kMaxErrorLogBytes + 1, '\0');
    log.logError("frmMain,y", 13, "Type mismatch");
    EXPECT_EQ(files.files[kPath], std::string(kMaxErrorLogBytes + 1, '\0'));
    files.files[kPath].resize(kMaxErrorLogBytes);
    log.logError("frmMain,y", 13, "Type mismatch");
    EXPECT_EQ(files.files[kPath].size(), kMaxErrorLogBytes + errorEntryLine("frmMain,y", 13, "Type mismatch").size());
}

TEST_F(ErrorLogTest, ABusyTransferIsCancelledFirstAndEventsRunMeanwhile) {
    inet.busyPolls = 3;
    log.logError("frmMain,cmdRAM_Click", 7, "Out of memory");
    EXPECT_EQ(inet.cancels, 1);
    EXPECT_EQ(host.doEventsCalls, 6);  // twice per poll that found it busy
    EXPECT_EQ(entries().size(), 1u);
}

TEST_F(ErrorLogTest, ATransferThatNeverStopsDoesNotHang) {
    inet.busyPolls = 1 << 30;
    log.logError("frmMain,cmdRAM_Click", 7, "Out of memory");
    EXPECT_EQ(entries().size(), 1u);
    EXPECT_LE(host.elapsedMs(), 11000);
}

TEST_F(ErrorLogTest, AnErrorRaisedByAnEventDuringTheWaitCompletesFirst) {
    Form frm("frmMain");
    Timer& timer = frm.add<Timer>("tmrA");
    timer.onTimer = [&] {
        timer.setEnabled(false);
        log.logError("frmMain,tmrA_Timer", 6, "Overflow");
    };
    host.attach(frm);
    timer.setInterval(10);
    timer.setEnabled(true);
    inet.busyPolls = 2;
    log.logError("frmMain,outer", 11, "Division by zero");
    const auto stored = entries();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].number, "6");
    EXPECT_EQ(stored[1].number, "11");
}

}  // namespace
}  // namespace qm
