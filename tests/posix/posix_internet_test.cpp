#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/posix/posix_internet.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

// A test CA, a certificate for 127.0.0.1 signed by it, and the test HTTPS server.
class LoopbackSite : public ::testing::Test {
protected:
    static inline fs::path dir;
    static inline std::string site;
    static inline int serverPid = 0;

    static int run(const std::string& command) {
        return std::system(("cd '" + dir.string() + "' && " + command + " >/dev/null 2>&1").c_str());
    }
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "qm https XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        const std::string ec = "-newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes";
        ASSERT_EQ(run("openssl req -x509 " + ec + " -keyout ca.key -out ca.pem -days 2 -subj /CN=QmTestCA"), 0);
        ASSERT_EQ(run("openssl req " + ec + " -keyout srv.key -out srv.csr -subj /CN=127.0.0.1"), 0);
        std::ofstream(dir / "ext") << "subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n";
        ASSERT_EQ(run("openssl x509 -req -in srv.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out srv.pem -days 2 "
                      "-extfile ext"), 0);
        fs::create_directories(dir / "www");
        std::ofstream(dir / "www" / "qmx.txt") << "7";
        std::ofstream(dir / "www" / "big") << std::string(1000, 'b');
        const fs::path script = fs::path(QM_TESTS_DIR) / "support" / "https_server.py";
        ASSERT_EQ(std::system(("cd '" + dir.string() + "' && (python3 '" + script.string() +
                               "' www srv.pem srv.key port >/dev/null 2>&1 & echo $! > pid)").c_str()), 0);
        for (int i = 0; i < 100 && !fs::exists(dir / "port"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream(dir / "pid") >> serverPid;
        std::string port;
        std::ifstream(dir / "port") >> port;
        site = "https://127.0.0.1:" + port;
    }
    static void TearDownTestSuite() {
        if (serverPid > 0) kill(serverPid, SIGTERM);
        fs::remove_all(dir);
    }
    void SetUp() override {
        ASSERT_FALSE(site.empty() || site.back() == ':') << "the test server did not start";
        setenv("SSL_CERT_FILE", (dir / "ca.pem").c_str(), 1);
    }
    void TearDown() override { unsetenv("SSL_CERT_FILE"); }
};

TEST_F(LoopbackSite, ATrustedSiteAnswersWhileTheCallerKeepsRunning) {
    PosixInternet inet;
    int waits = 0;
    bool busySeen = false;
    inet.whileWaiting = [&] {
        ++waits;
        busySeen = busySeen || inet.stillExecuting();
    };
    EXPECT_EQ(inet.openUrl(site + "/qmx.txt"), "7");
    EXPECT_GT(waits, 0);
    EXPECT_TRUE(busySeen);
    EXPECT_FALSE(inet.stillExecuting());
    EXPECT_NE(inet.headers(site + "/qmx.txt").find("Content-Length: 1\r\n"), std::string::npos);
    EXPECT_TRUE(inet.probe(site + "/"));
    const std::string missing = inet.headers(site + "/qmxupdate.exe");
    EXPECT_NE(missing.find("404"), std::string::npos);
    EXPECT_EQ(inet.openUrl(site + "/qmxupdate.exe"), "");
}

TEST_F(LoopbackSite, UntrustedCertificatesPlainRedirectsAndLargeBodiesAreRefused) {
    PosixInternet inet;
    EXPECT_EQ(inet.openUrl(site + "/redirect-to-http"), "");
    inet.largestBody = 500;
    EXPECT_EQ(inet.openUrl(site + "/big"), "");
    inet.largestBody = 1000;
    EXPECT_EQ(inet.openUrl(site + "/big"), std::string(1000, 'b'));
    unsetenv("SSL_CERT_FILE");
    EXPECT_EQ(inet.openUrl(site + "/qmx.txt"), "");
    EXPECT_FALSE(inet.probe(site + "/"));
}

TEST_F(LoopbackSite, CancelStopsARunningTransfer) {
    PosixInternet inet;
    const auto start = std::chrono::steady_clock::now();
    inet.whileWaiting = [&] {
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(300)) inet.cancel();
    };
    EXPECT_EQ(inet.openUrl(site + "/slow"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(inet.stillExecuting());
}

}  // namespace
}  // namespace qm
