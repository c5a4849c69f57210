#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/release_key.h"
#include "platform/win32/win32_program_update.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

// Made for this test with a key pair of its own (not the release key): the public point,
// a message and its signature (r and s).
const std::string kPoint(
    "\x45\x4E\x84\x29\xAD\x3C\x04\x30\x0E\x46\x26\x3D\x66\xC6\xFE\x05\xF8\x43\x36\x6E\xDE\x5E\x76\xD7\xEE\xC5\x4C\xC8"
    "\x14\x83\x15\xB2\x54\xAC\x84\x2C\x5E\x7A\xBF\x72\x15\x63\x81\xAE\x86\xE2\x2F\xDB\x68\x7C\x2C\xA7\xEE\x86\x98\x15"
    "\x23\xAE\x49\x34\x26\x78\x33\x80",
    64);
const std::string kMessage = "a program signed for the Windows port test";
const std::string kSignature(
    "\xD8\x24\xA3\x37\x4E\x70\xD9\xC6\x71\x26\x32\xA3\x62\x46\xBD\x05\x97\xFB\x5B\x15\x3A\xFA\xAB\xCE\xE9\xCA\x73\x45"
    "\xAE\xA6\x5C\x83\x9A\xF8\xCC\xA0\x5F\x95\x9E\x43\x92\xBC\x9A\x20\x92\x89\x34\x84\xDC\xEE\x17\x67\x6D\x8A\xB7\x7D"
    "\x25\x61\x0F\x71\x08\x74\x7C\x5D",
    64);

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Win32Upgrade : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("qm_upgrade_" + std::to_string(GetCurrentProcessId()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const char* name) { return (dir / name).string(); }
    void write(const char* name, const std::string& bytes) { std::ofstream(dir / name, std::ios::binary) << bytes; }
};

TEST_F(Win32Upgrade, SignaturesVerifyThroughCngOnlyForTheirKeyAndData) {
    EXPECT_TRUE(ecdsaP256Valid(kPoint, kMessage, kSignature));
    EXPECT_FALSE(ecdsaP256Valid(kPoint, kMessage + ".", kSignature));
    std::string forged = kSignature;
    forged[40] ^= 1;
    EXPECT_FALSE(ecdsaP256Valid(kPoint, kMessage, forged));
    EXPECT_FALSE(ecdsaP256Valid(kPoint, kMessage, kSignature.substr(1)));
    EXPECT_FALSE(Win32ProgramUpdate("C:\\x\\qmx.exe", releasePublicKey()).signatureValid(kMessage, kSignature));
}

TEST_F(Win32Upgrade, TheProgramIsReplacedInOneStepOnceItsFileIsFree) {
    write("Quillmere.exe", "old program");
    write("qmx.exe", "new program");
    Win32ProgramUpdate update(at("qmx.exe"), releasePublicKey());
    EXPECT_EQ(update.programPath(), at("Quillmere.exe"));
    EXPECT_TRUE(update.canReplaceProgram());
    HANDLE held = CreateFileA(at("Quillmere.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(update.replaceProgram(at("qmx.exe"), update.programPath()), ReplaceResult::InUse);
    EXPECT_EQ(readFile(dir / "Quillmere.exe"), "old program");
    CloseHandle(held);
    EXPECT_EQ(update.replaceProgram(at("qmx.exe"), update.programPath()), ReplaceResult::Replaced);
    EXPECT_EQ(readFile(dir / "Quillmere.exe"), "new program");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // no temporary left
    EXPECT_EQ(update.replaceProgram(at("missing.exe"), update.programPath()), ReplaceResult::Failed);
}

TEST_F(Win32Upgrade, ADownloadIsSavedWholeOverAnEarlierOne) {
    write("qmx.exe", "an older download");
    Win32ProgramUpdate update(at("Quillmere.exe"), releasePublicKey());
    update.saveProgram(at("qmx.exe"), std::string(5000, 'n'));
    EXPECT_EQ(readFile(dir / "qmx.exe"), std::string(5000, 'n'));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace qm
