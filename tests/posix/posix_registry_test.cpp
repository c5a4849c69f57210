// The Linux registry store and the autostart entry, in temporary folders.
#include "platform/posix/posix_registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ordinary_user.h"
#include "platform/posix/autostart_entry.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kOurs = "Software\\Microsoft\\Quillmere";

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PosixRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(root + "/program"); }

    PosixRegistry make() { return PosixRegistry(root + "/program", root + "/config"); }
    long setString(PosixRegistry& reg, const char* path, const std::string& name, const std::string& text) {
        RegHandle key = 0;
        long opened = reg.openKey(HKEY_LOCAL_MACHINE_, path, KEY_WRITE_, key);
        if (opened != ERROR_SUCCESS_) return opened;
        long result = reg.setValue(key, name, RegValue{REG_SZ_, text + '\0'});
        reg.closeKey(key);
        return result;
    }
    long query(PosixRegistry& reg, const char* path, const std::string& name, RegValue& value, uint32_t max = 255) {
        RegHandle key = 0;
        long opened = reg.openKey(HKEY_LOCAL_MACHINE_, path, KEY_READ_, key);
        if (opened != ERROR_SUCCESS_) return opened;
        long result = reg.queryValue(key, name, value, max);
        reg.closeKey(key);
        return result;
    }
    long remove(PosixRegistry& reg, const char* path, const std::string& name) {
        RegHandle key = 0;
        long opened = reg.openKey(HKEY_LOCAL_MACHINE_, path, KEY_WRITE_, key);
        if (opened != ERROR_SUCCESS_) return opened;
        long result = reg.deleteValue(key, name);
        reg.closeKey(key);
        return result;
    }

    test::TempFolder folder{"qm_registry"};
    std::string root = folder.path();
};

TEST_F(PosixRegistryTest, KeysAreCreatedOnlyByCreateAndValuesSurviveARestart) {
    PosixRegistry reg = make();
    RegValue value;
    EXPECT_EQ(query(reg, kOurs, "ver", value), ERROR_FILE_NOT_FOUND_);
    EXPECT_EQ(setString(reg, kOurs, "ver", "5"), ERROR_FILE_NOT_FOUND_) << "opening never creates";
    RegHandle key = 0;
    ASSERT_EQ(reg.createKey(HKEY_LOCAL_MACHINE_, kOurs, KEY_ALL_ACCESS_, key), ERROR_SUCCESS_);
    EXPECT_EQ(reg.setValue(key, "ver", RegValue{REG_SZ_, std::string("5\0", 2)}), ERROR_SUCCESS_);
    EXPECT_EQ(reg.setValue(key, "Count", RegValue{REG_DWORD_, std::string("\x2a\0\0\x80", 4)}), ERROR_SUCCESS_);
    EXPECT_EQ(reg.setValue(key, "odd", RegValue{REG_SZ_, std::string("a\"b\\c\nd", 7)}), ERROR_SUCCESS_);
    EXPECT_EQ(reg.setValue(key, "bin", RegValue{REG_BINARY_, std::string("\0\xff", 2)}), ERROR_SUCCESS_);
    EXPECT_EQ(reg.closeKey(key), ERROR_SUCCESS_);
    EXPECT_EQ(reg.closeKey(key), 6) << "a closed handle is gone";

    PosixRegistry again = make();
    ASSERT_EQ(query(again, "software\\MICROSOFT\\quillmere", "VER", value), ERROR_SUCCESS_);
    EXPECT_EQ(value.type, REG_SZ_);
    EXPECT_EQ(value.data, std::string("5\0", 2));
    ASSERT_EQ(query(again, kOurs, "count", value), ERROR_SUCCESS_);
    EXPECT_EQ(value.type, REG_DWORD_);
    EXPECT_EQ(value.data, std::string("\x2a\0\0\x80", 4));
    ASSERT_EQ(query(again, kOurs, "odd", value), ERROR_SUCCESS_);
    EXPECT_EQ(value.data, "a\"b\\c\nd") << "a string that is not plain keeps its exact bytes";
    ASSERT_EQ(query(again, kOurs, "bin", value), ERROR_SUCCESS_);
    EXPECT_EQ(value.data, std::string("\0\xff", 2));
    EXPECT_EQ(query(again, kOurs, "ver", value, 1), 234) << "a short buffer is more data";
    EXPECT_EQ(query(again, "Software\\Microsoft", "x", value), ERROR_FILE_NOT_FOUND_) << "parent keys exist";

    const std::string text = slurp(root + "/program/registry.ini");
    EXPECT_NE(text.find("[HKLM\\Software\\Microsoft\\Quillmere]\n\"ver\"=\"5\"\n\"Count\"=dword:8000002a\n"),
              std::string::npos)
        << text;
    for (const auto& entry : fs::directory_iterator(root + "/program"))
        EXPECT_EQ(entry.path().filename(), "registry.ini") << "no temporary file is left";
}

TEST_F(PosixRegistryTest, DeletingAValueKeepsTheOthersAndRightsAreChecked) {
    PosixRegistry reg = make();
    RegHandle key = 0;
    ASSERT_EQ(reg.createKey(HKEY_LOCAL_MACHINE_, kOurs, KEY_ALL_ACCESS_, key), ERROR_SUCCESS_);
    reg.closeKey(key);
    EXPECT_EQ(setString(reg, kOurs, "donreq", "1"), ERROR_SUCCESS_);
    EXPECT_EQ(setString(reg, kOurs, "ver", "5"), ERROR_SUCCESS_);
    EXPECT_EQ(remove(reg, kOurs, "donreq"), ERROR_SUCCESS_);
    EXPECT_EQ(remove(reg, kOurs, "donreq"), ERROR_FILE_NOT_FOUND_);
    RegValue value;
    EXPECT_EQ(query(reg, kOurs, "ver", value), ERROR_SUCCESS_);
    ASSERT_EQ(reg.openKey(HKEY_LOCAL_MACHINE_, kOurs, KEY_READ_, key), ERROR_SUCCESS_);
    EXPECT_EQ(reg.setValue(key, "ver", RegValue{REG_SZ_, std::string("6\0", 2)}), ERROR_ACCESS_DENIED_);
    reg.closeKey(key);
    ASSERT_EQ(reg.openKey(HKEY_LOCAL_MACHINE_, kOurs, KEY_WRITE_, key), ERROR_SUCCESS_);
    EXPECT_EQ(reg.queryValue(key, "ver", value, 255), ERROR_ACCESS_DENIED_);
    reg.closeKey(key);
}

// A store with lines we do not understand (or binary bytes) is read for what it holds, but
// every change is refused: rewriting it would drop those lines.
TEST_F(PosixRegistryTest, ADamagedStoreIsReadForWhatItHoldsButNeverRewritten) {
    const std::string store = root + "/program/registry.ini";
    const std::string damaged = "\x01\x02garbage\n[HKLM\\Software\\Microsoft\\Quillmere]\n"
                                "\"bad\"=dword:zz\n\"ver\"=\"7\"\n\"half\"=\"open\n";
    const std::string binary = std::string("; a\n[HKLM\\Software\\Microsoft\\Quillmere]\n\"ver\"=\"7\"\n") + std::string("\0\xff", 2);
    for (const std::string& text : {damaged, binary}) {
        std::ofstream(store, std::ios::binary) << text;
        PosixRegistry reg = make();
        RegValue value;
        ASSERT_EQ(query(reg, kOurs, "ver", value), ERROR_SUCCESS_);
        EXPECT_EQ(value.data, std::string("7\0", 2));
        EXPECT_EQ(query(reg, kOurs, "half", value), ERROR_FILE_NOT_FOUND_);
        EXPECT_EQ(setString(reg, kOurs, "ver", "8"), ERROR_ACCESS_DENIED_);
        EXPECT_EQ(remove(reg, kOurs, "ver"), ERROR_ACCESS_DENIED_);
        RegHandle key = 0;
        EXPECT_EQ(reg.createKey(HKEY_LOCAL_MACHINE_, "Software\\Other", KEY_ALL_ACCESS_, key), ERROR_ACCESS_DENIED_);
        EXPECT_EQ(slurp(store), text);
    }
}

TEST_F(PosixRegistryTest, TheRunValueIsOurAutostartEntry) {
    PosixRegistry reg = make();
    const std::string program = "/opt/My Apps/quillmere";
    ASSERT_EQ(setString(reg, kRun, "Quillmere", "\"" + program + "\""), ERROR_SUCCESS_);
    const std::string entry = slurp(root + "/config/autostart/quillmere.desktop");
    EXPECT_NE(entry.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nName=Quillmere\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"/opt/My Apps/quillmere\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nX-GNOME-Autostart-enabled=true\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(root + "/program/registry.ini")) << "the Run value is not in the store";
    if (access("/usr/bin/desktop-file-validate", X_OK) == 0) {
        const std::string command = "/usr/bin/desktop-file-validate '" + root + "/config/autostart/quillmere.desktop'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    RegValue value;
    ASSERT_EQ(query(reg, kRun, "quillmere", value), ERROR_SUCCESS_);
    EXPECT_EQ(value.data, "\"" + program + "\"" + '\0');
    EXPECT_EQ(setString(reg, kRun, "Other", "x"), ERROR_SUCCESS_) << "other Run values go to the store";
    EXPECT_EQ(remove(reg, kRun, "Quillmere"), ERROR_SUCCESS_);
    EXPECT_FALSE(fs::exists(root + "/config/autostart/quillmere.desktop"));
    EXPECT_EQ(remove(reg, kRun, "Quillmere"), ERROR_FILE_NOT_FOUND_);
    EXPECT_EQ(query(reg, kRun, "Other", value), ERROR_SUCCESS_);
}

TEST_F(PosixRegistryTest, AForeignEntryOfTheSameNameIsNeverDeleted) {
    fs::create_directories(root + "/config/autostart");
    const std::string path = root + "/config/autostart/quillmere.desktop";
    std::ofstream(path) << "[Desktop Entry]\nType=Application\nName=Mine\nExec=/usr/bin/true\n";
    PosixRegistry reg = make();
    EXPECT_EQ(remove(reg, kRun, "Quillmere"), ERROR_FILE_NOT_FOUND_);
    EXPECT_TRUE(fs::exists(path));
    RegValue value;
    EXPECT_EQ(query(reg, kRun, "Quillmere", value), ERROR_FILE_NOT_FOUND_);
}

TEST_F(PosixRegistryTest, TheRunKeyOpensForWritingOnlyWhenTheAutostartFolderCanBeMade) {
    std::ofstream(root + "/config") << "a file where the folder should be";
    PosixRegistry reg = make();
    RegHandle key = 0;
    EXPECT_EQ(reg.openKey(HKEY_LOCAL_MACHINE_, kRun, KEY_WRITE_, key), ERROR_ACCESS_DENIED_);
    EXPECT_EQ(reg.openKey(HKEY_LOCAL_MACHINE_, kRun, KEY_READ_, key), ERROR_SUCCESS_);
    reg.closeKey(key);
}

// What could not be read is never replaced: every value in it would be lost.
class UnreadableStore : public PosixRegistryTest {
protected:
    void SetUp() override {
        PosixRegistryTest::SetUp();
        std::ofstream(store) << kSaved;
    }
    // Each write through a key opened while the store could still be read must fail.
    std::string writesFail(PosixRegistry& reg, RegHandle key) {
        std::string failures;
        RegHandle other = 0;
        test::expectThat(failures, reg.setValue(key, "ver", RegValue{REG_SZ_, std::string("6\0", 2)}) == ERROR_ACCESS_DENIED_, "setValue");
        test::expectThat(failures, reg.deleteValue(key, "ver") == ERROR_ACCESS_DENIED_, "deleteValue");
        test::expectThat(failures, reg.createKey(HKEY_LOCAL_MACHINE_, "Software\\Other", KEY_ALL_ACCESS_, other) == ERROR_ACCESS_DENIED_, "createKey");
        return failures;
    }
    static constexpr const char* kSaved = "[HKLM\\Software\\Microsoft\\Quillmere]\n\"ver\"=\"5\"\n";
    std::string store = root + "/program/registry.ini";
};

TEST_F(UnreadableStore, ForWantOfRightsIsLeftAsItWas) {
    EXPECT_EQ(test::asOrdinaryUser(root, [&] {
                  PosixRegistry reg = make();
                  RegHandle key = 0;
                  if (reg.createKey(HKEY_LOCAL_MACHINE_, kOurs, KEY_ALL_ACCESS_, key) != ERROR_SUCCESS_) return std::string("open");
                  ::chmod(store.c_str(), 0200);  // write-only: the store cannot be read
                  return writesFail(reg, key);
              }),
              "");
    ::chmod(store.c_str(), 0644);
    EXPECT_EQ(slurp(store), kSaved);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(root + "/program")) names.insert(entry.path().filename());
    EXPECT_EQ(names, std::set<std::string>{"registry.ini"});
}

TEST_F(UnreadableStore, WhenTooLargeOrNoFileIsLeftAsItWas) {
    PosixRegistry reg = make();
    RegHandle key = 0;
    ASSERT_EQ(reg.createKey(HKEY_LOCAL_MACHINE_, kOurs, KEY_ALL_ACCESS_, key), ERROR_SUCCESS_);
    fs::resize_file(store, 1024 * 1024 + 1);  // sparse: costs no disk
    EXPECT_EQ(writesFail(reg, key), "");
    EXPECT_EQ(fs::file_size(store), 1024u * 1024 + 1);
    fs::remove(store);
    fs::create_directory(store);
    EXPECT_EQ(writesFail(reg, key), "");
    EXPECT_TRUE(fs::is_directory(store));
}

TEST(AutostartExec, ArgumentsAreQuotedAndEscapedAsTheDesktopEntrySpecAsks) {
    EXPECT_EQ(desktopExecArgument("/usr/bin/q"), "\"/usr/bin/q\"");
    // '\' is escaped for the quoted argument, then again for the file's string value.
    EXPECT_EQ(desktopExecArgument("/a\\b"), "\"/a\\\\\\\\b\"");
    EXPECT_EQ(desktopExecArgument("/a$b`c\"d"), "\"/a\\\\$b\\\\`c\\\\\"d\"");
    EXPECT_EQ(desktopExecArgument("/100%"), "\"/100%%\"");
    for (const std::string tricky : {"/opt/My Apps/q", "/a\\b", "/a$b`c\"d", "/100%", "/tab\there"}) {
        EXPECT_EQ(desktopExecArguments(desktopExecArgument(tricky)), std::vector<std::string>{tricky}) << tricky;
    }
    EXPECT_EQ(desktopExecArguments("/usr/bin/q  --x \"a b\""), (std::vector<std::string>{"/usr/bin/q", "--x", "a b"}));
}

TEST(AutostartExec, RunValueDataReadsAsTheClassicCommandLine) {
    EXPECT_EQ(runValueArguments("C:\\Program Files\\q.exe"), std::vector<std::string>{"C:\\Program Files\\q.exe"});
    EXPECT_EQ(runValueArguments("\"/opt/a b/q\" -h  x"), (std::vector<std::string>{"/opt/a b/q", "-h", "x"}));
    EXPECT_EQ(runValueData({"/opt/a b/q", "-h"}), "\"/opt/a b/q\" -h");
    EXPECT_FALSE(runDataOfEntry("[Desktop Entry]\nExec=/usr/bin/true\n").has_value());
    EXPECT_EQ(runDataOfEntry(autostartEntryText("/usr/bin/q")), "/usr/bin/q");
}

}  // namespace
}  // namespace qm
