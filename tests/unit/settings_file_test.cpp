// Reading one value through the 255-character buffer, and the one write convention.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "settings/load_rules.h"
#include "support/core_fixture.h"

namespace qm::test {
namespace {

using SettingsFileTest = SettingsTest;

TEST_F(SettingsFileTest, ReadsStoredValuesOrTheDefault) {
    EXPECT_EQ(settings.getData("Auto", "Interval", "5"), "5") << "no file";
    fileText() = "[Auto]\r\nInterval=12\r\nEmpty=\r\n";
    EXPECT_EQ(settings.getData("Auto", "Interval", "5"), "12");
    EXPECT_EQ(settings.getData("auto", "INTERVAL", "5"), "12");
    EXPECT_EQ(settings.getData("Auto", "Empty", "5"), "");
    EXPECT_EQ(settings.getData("Time", "Interval", "Minutes"), "Minutes");
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(SettingsFileTest, ALongValueIsCutTo254Characters) {
    const std::string value(300, 'x');
    store("Time", "Interval", value);
    EXPECT_EQ(settings.getData("Time", "Interval", "Minutes"), value.substr(0, 254));
}

TEST_F(SettingsFileTest, BinaryGarbageYieldsTheTextBeforeANulOrTheDefaults) {
    using namespace std::string_literals;
    fileText() = "\x01\xff\x80\r\n[RAM]\r\nRelease=1\0" "7\r\n\x80\x81=\x02\r\n"s;
    EXPECT_EQ(settings.getData("RAM", "Release", "0"), "1");
    EXPECT_EQ(settings.getData("Auto", "Minimum", "0"), "0");
    EXPECT_EQ(settings.StripNull(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(settings.StripNull("abc"), "abc");
}

TEST_F(SettingsFileTest, WritesAreSkippedWhileLoadingExceptTheAlwaysKind) {
    settings.setLoading(true);
    settings.writeKey("Auto", "Minimum", 3);
    EXPECT_EQ(stored("Auto", "Minimum"), "<none>");
    settings.writeKeyAlways("Time", "Release", 0);
    EXPECT_EQ(stored("Time", "Release"), "0");
    settings.setLoading(false);
    settings.writeKey("Auto", "Minimum", 3);
    settings.writeKey("Time", "Interval", "Hour");
    EXPECT_EQ(stored("Auto", "Minimum"), "3");
    EXPECT_EQ(stored("Time", "Interval"), "Hour");
    EXPECT_EQ(fileText(), "[Time]\r\nRelease=0\r\nInterval=Hour\r\n[Auto]\r\nMinimum=3\r\n");
}

TEST_F(SettingsFileTest, FractionsAreStoredWithAPointInACommaLocaleAndFoundAgain) {
    setUserDecimalSeparator(',');
    settings.writeNumberAlways("Memory", "GraphInterval", 1.5);
    EXPECT_EQ(stored("Memory", "GraphInterval"), "1.5");
    ComboBox& cmbUpdateGraph = control<ComboBox>("cmbUpdateGraph");
    cmbUpdateGraph.setListIndex(3);
    selectGraphInterval(cmbUpdateGraph, settings.getData("Memory", "GraphInterval", "1.5"));
    EXPECT_EQ(cmbUpdateGraph.text(), "1.5 Seconds");
    settings.writeNumber("Memory", "GraphInterval", 120);
    selectGraphInterval(cmbUpdateGraph, settings.getData("Memory", "GraphInterval", "1.5"));
    EXPECT_EQ(cmbUpdateGraph.text(), "2 Minutes");
    setUserDecimalSeparator('.');
}

TEST_F(SettingsFileTest, TheFileIsFoundAgainWhereverTheProgramFolderIs) {
    settings.writeKey("Auto", "Minimum", 1);
    fakes.folder.path = "D:\\Moved";
    settings.writeKey("Auto", "Minimum", 2);
    EXPECT_EQ(fakes.files.files.at("C:\\Apps\\Quillmere\\settings.ini"), "[Auto]\r\nMinimum=1\r\n");
    EXPECT_EQ(fakes.files.files.at("D:\\Moved\\settings.ini"), "[Auto]\r\nMinimum=2\r\n");
}

}  // namespace
}  // namespace qm::test
