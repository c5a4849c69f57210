// modReg and the "Automatically launch" box against the fake registry.
#include <gtest/gtest.h>

#include "base/text.h"
#include "support/core_fixture.h"

namespace qm::test {
namespace {

using AutostartTest = SettingsTest;

std::string runValue(FakeRegistry& registry) {
    return registry.stringValue(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName);
}

TEST_F(AutostartTest, CheckingRegistersTheProgramPathAndClearingRemovesOnlyThatValue) {
    load();
    control<CheckBox>("chkStartup").userClick();
    EXPECT_EQ(runValue(fakes.registry), "C:\\Apps\\Quillmere\\Quillmere.exe");
    EXPECT_EQ(fakes.registry.keys.begin()->second.at(kRunValueName).type, REG_SZ_);
    EXPECT_EQ(fakes.registry.keys.begin()->second.at(kRunValueName).data.back(), '\0') << "size counts the NUL";
    EXPECT_EQ(stored("Startup", "AutoLaunch"), "1");
    EXPECT_EQ(fakes.registry.openHandles(), 0);
    control<CheckBox>("chkStartup").userClick();
    EXPECT_FALSE(fakes.registry.hasValue(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName));
    EXPECT_EQ(fakes.registry.stringValue(HKEY_LOCAL_MACHINE_, kRunKey, "Other"), "C:\\other.exe");
    EXPECT_EQ(stored("Startup", "AutoLaunch"), "0");
    EXPECT_EQ(fakes.registry.openHandles(), 0);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(AutostartTest, APathWithABlankIsQuoted) {
    fakes.folder.path = "C:\\Program Files\\Quillmere";
    load();
    control<CheckBox>("chkStartup").userClick();
    EXPECT_EQ(runValue(fakes.registry), "\"C:\\Program Files\\Quillmere\\Quillmere.exe\"");
    EXPECT_EQ(runCommand("C:\\Apps\\q.exe"), "C:\\Apps\\q.exe");
}

TEST_F(AutostartTest, AutoLaunchAtStartRewritesTheValueWithTheCurrentPath) {
    fakes.registry.setString(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName, "C:\\Old\\Quillmere.exe");
    fakes.folder.path = "D:\\New";  // the whole folder, settings included, was moved
    store("Startup", "AutoLaunch", "1");
    load();
    EXPECT_EQ(control<CheckBox>("chkStartup").value(), 1);
    EXPECT_EQ(runValue(fakes.registry), "D:\\New\\Quillmere.exe");
    EXPECT_EQ(fakes.profile.getString("Startup", "AutoLaunch", "", 255, "D:\\New\\settings.ini"), "1");
}

TEST_F(AutostartTest, NoAutoLaunchAtStartLeavesAnExistingValueAlone) {
    fakes.registry.setString(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName, "C:\\Old\\Quillmere.exe");
    store("Startup", "AutoLaunch", "0");
    load();
    EXPECT_EQ(runValue(fakes.registry), "C:\\Old\\Quillmere.exe");
}

TEST_F(AutostartTest, ARunKeyWeMayNotWriteStoresNothingAndSaysNothing) {
    fakes.registry.readOnlyKeys.insert(std::to_string(HKEY_LOCAL_MACHINE_) + "\\" + toLowerAscii(kRunKey));
    load();
    control<CheckBox>("chkStartup").userClick();
    EXPECT_FALSE(fakes.registry.hasValue(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName));
    EXPECT_EQ(control<CheckBox>("chkStartup").value(), 1);
    EXPECT_EQ(stored("Startup", "AutoLaunch"), "1");
    EXPECT_TRUE(log.entries.empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(AutostartTest, RegistryRoutinesNeverCreateAKey) {
    reg.regSetValue(HKEY_LOCAL_MACHINE_, "Software\\Microsoft\\Quillmere", "ver", "5");
    EXPECT_FALSE(fakes.registry.hasValue(HKEY_LOCAL_MACHINE_, "Software\\Microsoft\\Quillmere", "ver"));
    EXPECT_EQ(fakes.registry.keys.size(), 1u);
    fakes.registry.setString(HKEY_LOCAL_MACHINE_, "Software\\Microsoft\\Quillmere", "donreq", "1");
    fakes.registry.setString(HKEY_LOCAL_MACHINE_, "Software\\Microsoft\\Quillmere", "ver", "5");
    reg.deleteValue(HKEY_LOCAL_MACHINE_, "Software\\Microsoft\\Quillmere", "donreq");
    reg.deleteValue(HKEY_LOCAL_MACHINE_, "Software\\Microsoft\\Quillmere", "missing");
    EXPECT_FALSE(fakes.registry.hasValue(HKEY_LOCAL_MACHINE_, "Software\\Microsoft\\Quillmere", "donreq"));
    EXPECT_TRUE(fakes.registry.hasValue(HKEY_LOCAL_MACHINE_, "Software\\Microsoft\\Quillmere", "ver"));
    EXPECT_EQ(fakes.registry.openHandles(), 0);
    EXPECT_TRUE(log.entries.empty());
}

}  // namespace
}  // namespace qm::test
