#include <gtest/gtest.h>

#include "app/program.h"
#include "base/convert.h"
#include "forms/headless_host.h"
#include "support/fake_platform.h"

namespace qm {
namespace {

struct ProgramStart : ::testing::Test {
    HeadlessHost host;
    test::FakePlatform fakes;
    Platform platform = fakes.platform(host);
    test::RecordingSink log;
};

TEST_F(ProgramStart, SecondStartHandsOverAndEndsWithoutAWindow) {
    fakes.instance.running = true;
    fakes.instance.found = true;
    EXPECT_EQ(runProgram(host, platform, log), nullptr);
    EXPECT_EQ(fakes.instance.activations, 1);
    EXPECT_TRUE(host.ended);
    EXPECT_TRUE(host.trayCalls.empty());
}

TEST_F(ProgramStart, FirstStartOrRunningInstanceNotFoundStartsNormally) {
    {
        HeadlessHost firstHost;
        Platform first = fakes.platform(firstHost);
        EXPECT_NE(runProgram(firstHost, first, log), nullptr);
        EXPECT_EQ(fakes.instance.activations, 0);  // nothing to look for
    }
    fakes.instance.running = true;
    auto window = runProgram(host, platform, log);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(fakes.instance.activations, 1);
    EXPECT_FALSE(host.ended);
    EXPECT_EQ(host.trayCalls.size(), 1u);  // Form_Load ran
    // The form is attached: its timers run on the host's clock.
    const int statusCalls = fakes.memory.statusCalls;
    host.advance(3000);
    EXPECT_GT(fakes.memory.statusCalls, statusCalls);
}

TEST_F(ProgramStart, ShownNumbersTakeTheSeparatorTheUserHadAtStart) {
    fakes.locale.separator = ',';
    fakes.memory.current.availPhys = 128 * test::MB + 512 * 1024;  // 128.5 MB
    auto window = runProgram(host, platform, log);
    ASSERT_NE(window, nullptr);
    fakes.locale.separator = '.';  // a change later on is not followed
    host.advance(3000);
    EXPECT_EQ(window->form().caption(), "Quillmere v1.0 - 128,5 MB");
    EXPECT_EQ(fakes.locale.reads, 1);
    EXPECT_EQ(userDecimalSeparator(), ',');
    setUserDecimalSeparator('.');
}

}  // namespace
}  // namespace qm
