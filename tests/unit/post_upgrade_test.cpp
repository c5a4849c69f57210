#include <gtest/gtest.h>

#include "app/program.h"
#include "base/text.h"
#include "forms/headless_host.h"
#include "support/fake_platform.h"
#include "support/host_clock.h"
#include "support/test_app.h"
#include "update/post_upgrade.h"
#include "update/reg_strings.h"

namespace qm {
namespace {

constexpr uint32_t HKLM = HKEY_LOCAL_MACHINE_;
constexpr const char* kSite = "https://mirror.test";
const std::string kProgram = "C:\\Apps\\Quillmere\\Quillmere.exe";
const std::string kDownload = "C:\\Apps\\Quillmere\\qmx.exe";

// How the fake registry names updateKey.
const std::string kStoredKey = std::to_string(HKLM) + "\\software\\microsoft\\quillmere";

struct RegistryStrings : ::testing::Test {
    test::FakeRegistry registry;
};

TEST_F(RegistryStrings, EnsureWritesTheDefaultOnceAndThenReadsIt) {
    EXPECT_EQ(ensureRegString(registry, HKLM, kUpdateKey, "ver", "5"), "");
    EXPECT_EQ(registry.keys[kStoredKey]["ver"].data, std::string("5\0", 2));
    EXPECT_EQ(ensureRegString(registry, HKLM, kUpdateKey, "ver", "9"), "5");
    EXPECT_EQ(registry.stringValue(HKLM, kUpdateKey, "ver"), "5");
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST_F(RegistryStrings, TextsEndAtTheirFirstNulOrTheirLastByte) {
    registry.setRaw(HKLM, kUpdateKey, "ver", {REG_SZ_, std::string("7\0junk", 6)});
    registry.setRaw(HKLM, kUpdateKey, "bare", {REG_SZ_, "12"});
    EXPECT_EQ(ensureRegString(registry, HKLM, kUpdateKey, "ver", "5"), "7");
    EXPECT_EQ(readRegString(registry, HKLM, kUpdateKey, "ver"), "7");
    EXPECT_EQ(ensureRegString(registry, HKLM, kUpdateKey, "bare", "5"), "12");
}

TEST_F(RegistryStrings, ReadFallsBackToItsDefaultAndCreatesNothing) {
    EXPECT_EQ(readRegString(registry, HKLM, kUpdateKey, "Up", "a"), "a");
    EXPECT_TRUE(registry.keys.empty());
    registry.setRaw(HKLM, kUpdateKey, "Up", {REG_DWORD_, std::string("\x01\0\0\0", 4)});
    EXPECT_EQ(readRegString(registry, HKLM, kUpdateKey, "Up", "a"), "a");
    EXPECT_EQ(readRegString(registry, HKLM, kUpdateKey, "missing"), "");
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST_F(RegistryStrings, WriteCreatesTheKeyAndCountsTheNul) {
    writeRegString(registry, HKLM, kUpdateKey, "Up", "c");
    EXPECT_EQ(registry.keys[kStoredKey]["Up"].data, std::string("c\0", 2));
    registry.readOnlyKeys.insert(kStoredKey);
    writeRegString(registry, HKLM, kUpdateKey, "Up", "b");  // refused, and quietly so
    EXPECT_EQ(registry.stringValue(HKLM, kUpdateKey, "Up"), "c");
    EXPECT_EQ(registry.openHandles(), 0);
}

TEST(UpdateHelpers, AddBackslashAppendsOnlyWhenMissing) {
    EXPECT_EQ(addBackslash("C:\\Apps"), "C:\\Apps\\");
    EXPECT_EQ(addBackslash("C:\\Apps\\"), "C:\\Apps\\");
    EXPECT_EQ(addBackslash(""), "\\");
    EXPECT_EQ(addBackslash("/opt/qm", '/'), "/opt/qm/");
}

TEST(UpdateHelpers, WaitSecondsRunsEventsUntilTheTickCountPassesEvenAcrossItsWrap) {
    HeadlessHost host;
    test::HostClock clock{host};
    host.setStartTick(0xFFFFFFFFu - 1500);
    waitSeconds(host, clock, 4);
    EXPECT_GE(host.elapsedMs(), 4000);
    EXPECT_LT(host.elapsedMs(), 4000 + host.doEventsStepMs);
    EXPECT_GT(host.doEventsCalls, 100);
    const int64_t before = host.elapsedMs();
    waitSeconds(host, clock, 0);
    EXPECT_EQ(host.elapsedMs(), before);
}

struct PostUpgrade : ::testing::Test {
    HeadlessHost host;
    test::FakePlatform fakes;
    Platform platform = fakes.platform(host);
    test::RecordingSink log;

    void SetUp() override {
        fakes.files.files[kProgram] = "old program";
        fakes.files.files[kDownload] = "new program";
    }
    void state(const std::string& up) { fakes.registry.setString(HKLM, kUpdateKey, "Up", up); }
    std::string value(const std::string& name) { return fakes.registry.stringValue(HKLM, kUpdateKey, name); }
    bool run() { return postUpgradeCheck(host, platform, log, kSite); }
};

TEST_F(PostUpgrade, IdleStatesDoNothing) {
    for (const char* up : {"", "a", "A", "ab", "BA", "x", "zzz"}) {
        state(up);
        EXPECT_TRUE(run()) << up;
        EXPECT_EQ(value("Up"), up);
    }
    fakes.registry.keys.clear();
    EXPECT_TRUE(run());  // no value reads as "a"
    EXPECT_EQ(fakes.update.replaceCalls, 0);
    EXPECT_EQ(fakes.files.files[kProgram], "old program");
    EXPECT_TRUE(fakes.shell.started.empty());
    EXPECT_FALSE(host.ended);
}

TEST_F(PostUpgrade, StateBPutsTheDownloadInPlaceAndRestartsIt) {
    for (const char* up : {"b", "B"}) {
        SetUp();
        state(up);
        EXPECT_FALSE(run()) << up;
        EXPECT_EQ(fakes.files.files[kProgram], "new program");
        EXPECT_EQ(value("Up"), "c");
        ASSERT_FALSE(fakes.shell.started.empty());
        EXPECT_EQ(fakes.shell.started.back(), kProgram);
        EXPECT_TRUE(host.ended);
    }
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(PostUpgrade, StateBWaitsWhileTheOldProgramStillHoldsItsFile) {
    state("b");
    fakes.update.replaceResults = {ReplaceResult::InUse, ReplaceResult::InUse};
    EXPECT_FALSE(run());
    EXPECT_EQ(fakes.update.replaceCalls, 3);
    EXPECT_GE(host.elapsedMs(), 2000);
    EXPECT_EQ(fakes.files.files[kProgram], "new program");
    EXPECT_EQ(value("Up"), "c");
}

// The window's process ended before it started the download, and the user starts the
// program again: it cannot replace its own running file, so the download does it.
TEST_F(PostUpgrade, AStartOfTheProgramFileInStateBHandsOverToTheDownload) {
    state("b");
    fakes.update.fromProgramFile = true;
    EXPECT_FALSE(run());
    EXPECT_EQ(fakes.update.replaceCalls, 0);
    ASSERT_EQ(fakes.shell.started.size(), 1u);
    EXPECT_EQ(fakes.shell.started[0], kDownload);
    EXPECT_TRUE(host.ended);
    EXPECT_EQ(value("Up"), "b");  // the download's own start goes on from here
    EXPECT_EQ(host.elapsedMs(), 0);

    for (const bool downloadMissing : {true, false}) {  // nothing to hand over to: a normal start
        SetUp();
        host.ended = false;
        state("b");
        if (downloadMissing) fakes.files.files.erase(kDownload);
        fakes.shell.failStart = !downloadMissing;
        EXPECT_TRUE(run());
        EXPECT_FALSE(host.ended);
        EXPECT_EQ(fakes.files.files[kProgram], "old program");
        EXPECT_EQ(value("Up"), "a");
        EXPECT_EQ(fakes.update.replaceCalls, 0);
    }
}

TEST_F(PostUpgrade, AProgramThatCannotBeReplacedIsKeptAndTheStartGoesOn) {
    state("b");
    fakes.update.replaceResults.assign(40, ReplaceResult::InUse);
    EXPECT_TRUE(run());
    EXPECT_EQ(fakes.update.replaceCalls, 30);  // bounded
    EXPECT_EQ(fakes.files.files[kProgram], "old program");
    EXPECT_EQ(value("Up"), "a");               // the next start is a normal one
    EXPECT_TRUE(fakes.shell.started.empty());
    EXPECT_FALSE(host.ended);
    EXPECT_TRUE(log.has("modUpdate,postUpgradeCheck", 75));

    fakes.update.replaceResults = {ReplaceResult::Failed};
    state("b");
    EXPECT_TRUE(run());
    EXPECT_EQ(fakes.update.replaceCalls, 31);  // a failure other than "in use" is not retried
    EXPECT_EQ(value("Up"), "a");
}

TEST_F(PostUpgrade, StateCRemovesTheDownloadAndThanksOnce) {
    state("C");
    fakes.registry.setString(HKLM, kUpdateKey, "donreq", "Z");
    EXPECT_TRUE(run());
    EXPECT_FALSE(fakes.files.files.count(kDownload));
    EXPECT_EQ(value("Up"), "a");
    EXPECT_FALSE(fakes.registry.hasValue(HKLM, kUpdateKey, "donreq"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].prompt, "Quillmere Upgraded. Thank you");
    EXPECT_EQ(host.messages[0].style, vbOKOnly);
    ASSERT_EQ(fakes.shell.executed.size(), 1u);
    EXPECT_EQ(fakes.shell.executed[0].operation, "Open");
    EXPECT_EQ(fakes.shell.executed[0].file, "https://mirror.test/upgrade.php");
    EXPECT_EQ(fakes.shell.executed[0].show, SW_SHOWNORMAL_);
    EXPECT_FALSE(host.ended);

    state("c");
    EXPECT_TRUE(run());  // the request is gone: no second thanks
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(PostUpgrade, StateCLeavesAnotherRequestInPlaceAndDeletesAnEmptyOne) {
    state("c");
    fakes.registry.setString(HKLM, kUpdateKey, "donreq", "y");
    EXPECT_TRUE(run());
    EXPECT_EQ(value("donreq"), "y");
    fakes.registry.setString(HKLM, kUpdateKey, "donreq", "");
    state("c");
    EXPECT_TRUE(run());
    EXPECT_FALSE(fakes.registry.hasValue(HKLM, kUpdateKey, "donreq"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(fakes.shell.executed.empty());
}

TEST_F(PostUpgrade, StateCWaitsForTheDownloadToBeRemovableButNotForever) {
    state("c");
    fakes.files.removeRefusals = 3;  // the download's process is still ending
    EXPECT_TRUE(run());
    EXPECT_FALSE(fakes.files.files.count(kDownload));
    EXPECT_GE(host.elapsedMs(), 3000);

    SetUp();
    state("c");
    fakes.files.removeRefusals = 1000;
    EXPECT_TRUE(run());
    EXPECT_TRUE(fakes.files.files.count(kDownload));
    EXPECT_EQ(value("Up"), "a");
    EXPECT_LT(host.elapsedMs(), 3000 + 11000);

    fakes.files.removeRefusals = 0;
    fakes.files.files.erase(kDownload);
    state("c");
    EXPECT_TRUE(run());  // absent is not an error
    EXPECT_TRUE(log.entries.empty());
}

TEST(UpgradeAtStart, FormLoadEnsuresTheVersionValueAndAStateBStartShowsNoWindow) {
    test::TestApp fresh;
    fresh.load();
    EXPECT_EQ(fresh.fakes.registry.stringValue(HKLM, kUpdateKey, "ver"), "5");

    test::TestApp upgraded;
    upgraded.fakes.registry.setString(HKLM, kUpdateKey, "ver", "7");
    upgraded.load();
    EXPECT_EQ(upgraded.fakes.registry.stringValue(HKLM, kUpdateKey, "ver"), "7");

    HeadlessHost host;
    test::FakePlatform fakes;
    Platform platform = fakes.platform(host);
    test::RecordingSink log;
    fakes.files.files[kDownload] = "new program";
    fakes.registry.setString(HKLM, kUpdateKey, "Up", "b");
    EXPECT_EQ(runProgram(host, platform, log), nullptr);
    EXPECT_TRUE(host.ended);
    EXPECT_TRUE(host.trayCalls.empty());
}

}  // namespace
}  // namespace qm
