// Where the program keeps its files on Linux, and a start over a settings file that is
// no settings file at all.
#include "platform/posix/posix_program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/posix/posix_profile.h"
#include "settings/load_rules.h"
#include "forms/headless_host.h"
#include "settings/settings_file.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

class PosixFolderTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(root + "/bin"); }
    test::TempFolder temp{"qm_folder"};
    std::string root = temp.path();
};

TEST_F(PosixFolderTest, APortableCopyKeepsItsFilesBesideTheExecutable) {
    PosixProgramFolder folder(root + "/bin/quillmere", root + "/config");
    EXPECT_EQ(folder.folder(), root + "/bin");
    EXPECT_EQ(folder.separator(), '/');
    EXPECT_EQ(folder.exeName(), "quillmere");
    EXPECT_EQ(folder.exePath(), root + "/bin/quillmere");
    EXPECT_FALSE(fs::exists(root + "/config"));
    EXPECT_EQ(PosixProgramFolder(root + "/bin/Quillmere.exe", root).exeName(), "Quillmere");
    EXPECT_EQ(PosixProgramFolder(root + "/bin/q.v2.bin", root).exeName(), "q.v2");
}

TEST_F(PosixFolderTest, AnInstalledCopyUsesItsOwnConfigFolder) {
    // Root may write anywhere; a folder that cannot be written for any user is then the
    // executable's "folder" being a file.
    std::string exe = root + "/bin/quillmere";
    chmod((root + "/bin").c_str(), 0555);
    if (geteuid() == 0) {
        std::ofstream(root + "/plain") << "x";
        exe = root + "/plain/quillmere";
    }
    PosixProgramFolder folder(exe, root + "/config");
    EXPECT_EQ(folder.folder(), root + "/config/quillmere");
    EXPECT_TRUE(fs::is_directory(root + "/config/quillmere"));
}

// A packaged copy in /usr/bin keeps its files in the user's config folder, root's too.
TEST_F(PosixFolderTest, APackagedCopyNeverWritesBesideItself) {
    EXPECT_EQ(PosixProgramFolder("/usr/bin/quillmere", root + "/config").folder(), root + "/config/quillmere");
    const std::pair<const char*, bool> folders[] = {
        {"/usr/bin", true}, {"/usr", true}, {"/usr/lib/quillmere", true},
        {"/usr/local/bin", false}, {"/usrx/bin", false}, {"/opt/quillmere", false}, {"/home/u/Quillmere", false}};
    for (const auto& [folder, managed] : folders) EXPECT_EQ(managedByPackages(folder), managed) << folder;
}

TEST_F(PosixFolderTest, TheRunningProgramIsFound) {
    PosixProgramFolder folder;
    EXPECT_EQ(folder.exeName(), "posix_tests");
    EXPECT_TRUE(fs::exists(folder.exePath()));
}

// A settings file that is a folder, binary garbage or unreadable yields the defaults.
class BrokenSettingsTest : public PosixFolderTest {
protected:
    std::string read(const std::string& section, const std::string& key, const std::string& missing) {
        test::FakePlatform fakes;
        fakes.folder.path = root + "/bin";
        PosixProfile profile;
        HeadlessHost host;
        test::HostClock clock{host};
        Platform platform{fakes.memory, fakes.cpu, profile, fakes.registry, fakes.shell, fakes.files,
                          fakes.internet, clock, fakes.folder, fakes.instance,
                      fakes.update, fakes.locale};
        Form frm("frmMain");
        SubsystemContext ctx{host, platform, log, frm};
        return SettingsFile(ctx).getData(section, key, missing);
    }
    std::string path() const { return root + "/bin\\settings.ini"; }  // the fake folder's separator
    test::RecordingSink log;
};

TEST_F(BrokenSettingsTest, AFolderGarbageOrAnUnreadableFileGivesTheDefaults) {
    fs::create_directories(path());
    EXPECT_EQ(read("Auto", "Interval", "5"), "5");
    fs::remove(path());
    std::ofstream(path(), std::ios::binary) << std::string("\xff\xfe\0\x01[Auto\r\nInterval", 17);
    EXPECT_EQ(read("Auto", "Interval", "5"), "5");
    std::ofstream(path(), std::ios::binary) << "[Auto]\r\nInterval=7\r\n";
    EXPECT_EQ(read("Auto", "Interval", "5"), "7");
    if (geteuid() != 0) {
        chmod(path().c_str(), 0);
        EXPECT_EQ(read("Auto", "Interval", "5"), "5");
    }
    EXPECT_TRUE(log.entries.empty());
}

}  // namespace
}  // namespace qm
