// The load sampler: the fixed-point formula of the NT path, and the 9x registry path.
#include "monitor/cpu_usage.h"

#include <gtest/gtest.h>

#include "forms/headless_host.h"
#include "support/error_of.h"
#include "support/fake_platform.h"

namespace qm {
namespace {

using test::errorOf;

TEST(CurrencyTest, ConversionsRoundToFourPlacesHalfToEven) {
    EXPECT_EQ(Currency::fromDouble(0.33333).raw(), 3333);
    EXPECT_EQ(Currency::fromDouble(0.00005).raw(), 0);     // 0.5 ten-thousandths -> even 0
    EXPECT_EQ(Currency::fromDouble(0.00025).raw(), 2);     // 2.5 -> 2
    EXPECT_EQ(Currency::fromDouble(0.00035).raw(), 4);     // 3.5 -> 4
    EXPECT_EQ(Currency::fromDouble(-2.5).raw(), -25000);
    EXPECT_EQ(clsCPUUsage::LI2Currency(12345678).raw(), 12345678);  // 1234.5678 ms
    EXPECT_EQ(errorOf([] { Currency::fromDouble(1e16); }), errOverflow);
    EXPECT_EQ(errorOf([] { Currency::fromRaw(INT64_MIN) - Currency::fromRaw(1); }), errOverflow);
    EXPECT_EQ(errorOf([] { Currency::fromRaw(INT64_MAX / 10).times(100); }), errOverflow);
}

TEST(CurrencyTest, FloorGoesTowardMinusInfinity) {
    EXPECT_EQ(Currency::fromDouble(100.5).floorToInt32(), 100);
    EXPECT_EQ(Currency::fromDouble(0.9999).floorToInt32(), 0);
    EXPECT_EQ(Currency::fromDouble(-0.0001).floorToInt32(), -1);
    EXPECT_EQ(Currency::fromDouble(-99.5).floorToInt32(), -100);
    EXPECT_EQ(errorOf([] { Currency::fromDouble(3e9).floorToInt32(); }), errOverflow);
}

class SamplerTest : public ::testing::Test {
protected:
    HeadlessHost host;
    test::FakePlatform fakes;
    Platform platform = fakes.platform(host);
    test::RecordingSink log;

    // The sampler after a first reading at zero, then one sample at (idle, time).
    int32_t loadAfter(uint8_t processors, int64_t idle, int64_t time) {
        fakes.cpu.readings = {CpuCounters{processors, 0, 0}, CpuCounters{processors, idle, time}};
        clsCPUUsage sampler(platform, log);
        return sampler.CurrentCPUUsage();
    }
};

constexpr int64_t kSecond = 10'000'000;  // 100 ns units

TEST_F(SamplerTest, IdleFractionGivesTheLoadPerProcessor) {
    EXPECT_EQ(loadAfter(1, kSecond, kSecond), 0);        // fraction 1.0000 -> floor(0.5)
    EXPECT_EQ(loadAfter(1, 0, kSecond), 100);            // floor(100.5)
    EXPECT_EQ(loadAfter(1, kSecond / 4, kSecond), 75);   // floor(75.5)
    EXPECT_EQ(loadAfter(2, 2 * kSecond, kSecond), 0);    // fraction 2.0000 on two processors
    EXPECT_EQ(loadAfter(2, kSecond, kSecond), 50);
    EXPECT_EQ(loadAfter(4, kSecond, kSecond), 75);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(SamplerTest, IdleFractionIsKeptToFourDecimals) {
    // 0.00504 is held as 0.0050: floor(100.5 - 0.5) = 100, where plain doubles give 99.
    EXPECT_EQ(loadAfter(1, 504, 100000), 100);
    // 1/3 is held as 0.3333: floor(100 - 33.33 + 0.5) = 67.
    EXPECT_EQ(loadAfter(1, 1, 3), 67);
}

TEST_F(SamplerTest, NoElapsedTimeSkipsTheDivision) {
    // idle stays in raw milliseconds: floor(100.5 - 100 x idleMs / P).
    EXPECT_EQ(loadAfter(1, 0, 0), 100);
    EXPECT_EQ(loadAfter(1, 10050, 0), 0);     // 1.0050 ms = 1.005 x P
    EXPECT_EQ(loadAfter(1, 10051, 0), -1);    // beyond it the result goes below 0, unclamped
    EXPECT_EQ(loadAfter(2, 10051, 0), 50);    // floor(100.5 - 50.255)
    EXPECT_EQ(loadAfter(1, kSecond, 0), -99900);
}

TEST_F(SamplerTest, EachSampleMeasuresSinceThePreviousSuccessfulOne) {
    fakes.cpu.readings = {CpuCounters{1, 100, 1000}, CpuCounters{1, 100, 1000 + kSecond},
                          std::nullopt, CpuCounters{1, 100 + kSecond, 1000 + 2 * kSecond}};
    clsCPUUsage sampler(platform, log);
    EXPECT_TRUE(sampler.isWinNT());
    EXPECT_EQ(sampler.CurrentCPUUsage(), 100);  // busy second since construction
    EXPECT_EQ(sampler.CurrentCPUUsage(), 0);    // failed query: 0, counters kept
    EXPECT_EQ(sampler.CurrentCPUUsage(), 0);    // idle second since the last good sample
    EXPECT_TRUE(log.entries.empty());           // a failed query is not an error
}

TEST_F(SamplerTest, FailedFirstReadingMeasuresFromZero) {
    fakes.cpu.readings = {std::nullopt, CpuCounters{1, kSecond, 2 * kSecond}};
    clsCPUUsage sampler(platform, log);
    EXPECT_EQ(sampler.CurrentCPUUsage(), 50);
}

TEST_F(SamplerTest, FailingStepIsLoggedAndTheSampleStillMoves) {
    fakes.cpu.readings = {CpuCounters{0, 0, 0}, CpuCounters{0, kSecond, kSecond},
                          CpuCounters{1, kSecond, 2 * kSecond}};
    clsCPUUsage sampler(platform, log);
    EXPECT_EQ(sampler.CurrentCPUUsage(), 0);  // no processors: division by zero, logged
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].context, "clsCPUUsage,CurrentCPUUsage");
    EXPECT_EQ(log.entries[0].number, errDivisionByZero);
    EXPECT_EQ(sampler.CurrentCPUUsage(), 100);  // measured from the failed sample's counters
}

class Sampler9xTest : public SamplerTest {
protected:
    void SetUp() override {
        fakes.cpu.platform = 1;
        fakes.cpu.readings = {CpuCounters{1, 0, 0}};
        for (const char* key : {"PerfStats\\StartStat", "PerfStats\\StatData", "PerfStats\\StopStat"})
            setUsage(key, std::string("\x25\x01\x00\x00", 4));  // 293 as a DWORD; first byte 37
    }
    void setUsage(const std::string& key, const std::string& bytes) {
        fakes.registry.setRaw(HKEY_DYN_DATA_, key, "KERNEL\\CPUUsage", RegValue{REG_BINARY_, bytes});
    }
    static std::string dyn(const std::string& lowerKey) { return std::to_string(HKEY_DYN_DATA_) + "\\" + lowerKey; }
};

TEST_F(Sampler9xTest, StartsReadsAndStopsTheStatisticsCounter) {
    {
        clsCPUUsage sampler(platform, log);
        EXPECT_FALSE(sampler.isWinNT());
        EXPECT_EQ(fakes.registry.openHandles(), 1);  // StatData stays open
        EXPECT_EQ(sampler.CurrentCPUUsage(), 37);
        setUsage("PerfStats\\StatData", std::string("\xC8\x00\x00\x00", 4));
        EXPECT_EQ(sampler.CurrentCPUUsage(), 200);   // the byte as it is, 0..255, unclamped
    }
    EXPECT_EQ(fakes.registry.openHandles(), 0);
    const std::vector<std::string> expected = {dyn("perfstats\\startstat|KERNEL\\CPUUsage"),
                                               dyn("perfstats\\statdata|KERNEL\\CPUUsage"),
                                               dyn("perfstats\\statdata|KERNEL\\CPUUsage"),
                                               dyn("perfstats\\stopstat|KERNEL\\CPUUsage")};
    EXPECT_EQ(fakes.registry.queried, expected);
    EXPECT_EQ(fakes.cpu.readings.size(), 1u);  // the NT counters are never read
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(Sampler9xTest, FailedQueryReturnsThePreviousByte) {
    clsCPUUsage sampler(platform, log);
    EXPECT_EQ(sampler.CurrentCPUUsage(), 37);
    fakes.registry.keys.erase(dyn("perfstats\\statdata"));
    EXPECT_EQ(sampler.CurrentCPUUsage(), 37);
}

TEST_F(Sampler9xTest, WithoutTheStartKeyNothingIsKeptOpen) {
    fakes.registry.keys.clear();
    clsCPUUsage sampler(platform, log);
    EXPECT_EQ(fakes.registry.openHandles(), 0);
    EXPECT_EQ(sampler.CurrentCPUUsage(), 0);  // never filled
    EXPECT_TRUE(log.entries.empty());
}

}  // namespace
}  // namespace qm
