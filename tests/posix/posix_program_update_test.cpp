#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/posix_program_update.h"
#include "platform/release_key.h"
#include "update/download_checks.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

struct PosixUpgrade : ::testing::Test {
    fs::path dir;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qm upgrade XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    int run(const std::string& command) { return std::system(("cd '" + dir.string() + "' && " + command).c_str()); }

    // A key pair of this test's own; the public point as X and Y.
    std::string makeKey() {
        EXPECT_EQ(run("openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out key.pem 2>/dev/null && "
                      "openssl pkey -in key.pem -pubout -outform DER -out key.der"), 0);
        const std::string der = readFile(dir / "key.der");
        return der.size() >= 64 ? der.substr(der.size() - 64) : "";
    }
    std::string sign(const std::string& data) {
        writeFile(dir / "data", data);
        EXPECT_EQ(run("openssl dgst -sha256 -sign key.pem -out data.sig data"), 0);
        return signatureFromDer(readFile(dir / "data.sig")).value_or("");
    }
};

TEST_F(PosixUpgrade, SignaturesVerifyOnlyForTheirKeyAndTheirData) {
    const std::string key = makeKey();
    ASSERT_EQ(key.size(), 64u);
    const std::string data = "a new program\n" + std::string(3000, 'x');
    const std::string signature = sign(data);
    ASSERT_EQ(signature.size(), 64u);
    EXPECT_TRUE(ecdsaP256Valid(key, data, signature));
    EXPECT_FALSE(ecdsaP256Valid(key, data + "!", signature));
    std::string forged = signature;
    forged[10] ^= 1;
    EXPECT_FALSE(ecdsaP256Valid(key, data, forged));
    EXPECT_FALSE(ecdsaP256Valid(key, data, signature.substr(0, 63)));
    EXPECT_FALSE(ecdsaP256Valid(std::string(64, '\x01'), data, signature));  // no point of the curve
    // The program as shipped trusts its own key only.
    EXPECT_FALSE(PosixProgramUpdate("/x/quillmere", releasePublicKey()).signatureValid(data, signature));
    EXPECT_TRUE(PosixProgramUpdate("/x/quillmere", key).signatureValid(data, signature));
}

TEST_F(PosixUpgrade, TheProgramBesideTheDownloadIsReplacedWholeAndStaysRunnable) {
    writeFile(dir / "quillmere", "old program");
    PosixProgramUpdate update((dir / "qmx").string(), releasePublicKey());
    EXPECT_EQ(update.programPath(), (dir / "quillmere").string());
    EXPECT_EQ(update.ownKind(), ProgramKind::ElfX8664);
    update.saveProgram((dir / "qmx").string(), "new program");
    EXPECT_TRUE(fs::status(dir / "qmx").permissions() == (fs::status(dir / "qmx").permissions() | fs::perms::owner_exec));
    EXPECT_EQ(update.replaceProgram((dir / "qmx").string(), update.programPath()), ReplaceResult::Replaced);
    EXPECT_EQ(readFile(dir / "quillmere"), "new program");
    EXPECT_NE(fs::status(dir / "quillmere").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);  // no temporary left
}

TEST_F(PosixUpgrade, AFailedReplacementKeepsTheOldProgram) {
    writeFile(dir / "quillmere", "old program");
    PosixProgramUpdate update((dir / "quillmere").string(), releasePublicKey());
    EXPECT_EQ(update.replaceProgram((dir / "qmx").string(), update.programPath()), ReplaceResult::Failed);
    writeFile(dir / "qmx", "");
    EXPECT_EQ(update.replaceProgram((dir / "qmx").string(), update.programPath()), ReplaceResult::Failed);
    EXPECT_EQ(readFile(dir / "quillmere"), "old program");
    EXPECT_TRUE(update.canReplaceProgram());
    if (geteuid() == 0) GTEST_SKIP() << "root may write any folder";
    fs::permissions(dir, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(update.canReplaceProgram());
}

}  // namespace
}  // namespace qm
