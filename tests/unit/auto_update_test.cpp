#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_app.h"
#include "update/auto_update.h"
#include "update/auto_update_layout.h"
#include "update/reg_strings.h"

namespace qm {
namespace {

constexpr uint32_t HKLM = HKEY_LOCAL_MACHINE_;
const std::string kSite = "https://mirror.test";
const std::string kProgramUrl = kSite + "/qmxupdate.exe";
const std::string kDownload = "C:\\Apps\\Quillmere\\qmx.exe";

std::string lengthHeaders(size_t length) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " + std::to_string(length) +
           "\r\n\r\n";
}

// A 32-bit Windows program of `size` bytes.
std::string program(size_t size = 5000, char fill = 'n') {
    std::string bytes(size, fill);
    bytes.replace(0, 2, "MZ");
    bytes.replace(0x3C, 4, std::string("\x80\0\0\0", 4));
    bytes.replace(0x80, 6, std::string("PE\0\0\x4C\x01", 6));
    return bytes;
}

// A well-formed DER signature; the fake trusts it when its text is the accepted one.
const std::string kSignature = "\x30\x06\x02\x01\x01\x02\x01\x01";

struct AutoUpdate : ::testing::Test {
    test::TestApp app;
    test::FakeInternet& inet = app.fakes.internet;
    std::unique_ptr<frmAutoUpdate> window;

    void SetUp() override {
        app.load();
        window = std::make_unique<frmAutoUpdate>(app.ctx(), kSite);
        app.fakes.update.acceptedSignature = std::string(31, '\0') + "\x01" + std::string(31, '\0') + "\x01";
        serveVersion("7");
        serveProgram(program());
    }
    void serve(const std::string& url, const std::string& body, const std::string& headers) {
        inet.bodies[url] = body;
        inet.headerTexts[url] = headers;
    }
    void serveVersion(const std::string& text) { serve(kSite + "/qmx.txt", text, lengthHeaders(text.size())); }
    void serveProgram(const std::string& bytes, const std::string& signature = kSignature) {
        serve(kProgramUrl, bytes, lengthHeaders(bytes.size()));
        inet.bodies[kProgramUrl + ".sig"] = signature;
    }
    std::string value(const std::string& name) { return app.fakes.registry.stringValue(HKLM, kUpdateKey, name); }
    std::vector<std::pair<std::string, int>> rows() {
        std::vector<std::pair<std::string, int>> out;
        for (const ListViewItem& item : window->form().get<ListView>("ListView1").items()) {
            out.emplace_back(item.text, item.smallIcon);
        }
        return out;
    }
    int requestsOf(const std::string& url) { return static_cast<int>(std::count(inet.requested.begin(), inet.requested.end(), url)); }
};

TEST_F(AutoUpdate, TheWindowAsDeclared) {
    Form& frm = window->form();
    EXPECT_EQ(frm.caption(), "AutoUpdate");
    EXPECT_EQ(frm.get<Label>("Label1").caption(), kAutoUpdateText);
    EXPECT_EQ(frm.get<CommandButton>("cmdProceed").caption(), "Proceed");
    EXPECT_EQ(frm.get<CommandButton>("cmdCancel").caption(), "Cancel");
    EXPECT_EQ(frm.get<ImageList>("ImageList1").resources.size(), 2u);
    EXPECT_EQ(frm.get<StatusBar>("StatusBar1").simpleText(), "");
    EXPECT_TRUE(frm.get<ListView>("ListView1").items().empty());
}

TEST_F(AutoUpdate, OnlineMeansTheProductSiteItselfAnswers) {
    EXPECT_TRUE(window->isOnline());
    EXPECT_EQ(inet.requested.back(), kSite + "/");
    inet.online = false;
    EXPECT_FALSE(window->isOnline());
    for (const std::string& url : inet.requested) EXPECT_EQ(url.rfind(kSite, 0), 0u) << url;
}

TEST_F(AutoUpdate, AVersionAboveTheInstalledOneIsOfferedAndALowerOneRecorded) {
    EXPECT_TRUE(window->checkForUpdate("5"));
    EXPECT_EQ(window->newVersion(), "7");
    serveVersion("5");
    EXPECT_FALSE(window->checkForUpdate("5"));
    EXPECT_EQ(value("ver"), "5");  // Form_Load's value, untouched
    serveVersion("4\r\n");
    EXPECT_FALSE(window->checkForUpdate("5"));
    EXPECT_EQ(value("ver"), "4");
}

TEST_F(AutoUpdate, AMissingOrEmptyVersionFileOffersNothingAndChangesNothing) {
    serve(kSite + "/qmx.txt", "7", "HTTP/1.1 404 Not Found\r\nContent-Length: 1\r\n\r\n");
    EXPECT_FALSE(window->checkForUpdate("5"));
    serve(kSite + "/qmx.txt", "", lengthHeaders(1));  // the body fetch failed
    EXPECT_FALSE(window->checkForUpdate("5"));
    EXPECT_EQ(value("ver"), "5");
    inet.online = false;
    serveVersion("9");
    EXPECT_FALSE(window->checkForUpdate("5"));
}

TEST_F(AutoUpdate, ADownloadOfTheAnnouncedLengthReplacesAnEarlierDownload) {
    app.fakes.files.files[kDownload] = "an older download";
    EXPECT_TRUE(window->downloadUpdate());
    EXPECT_EQ(app.fakes.files.files[kDownload], program());
    EXPECT_EQ(app.fakes.update.saved, std::vector<std::string>{kDownload});
}

TEST_F(AutoUpdate, DownloadsOfAnotherLengthAreRefused) {
    serve(kProgramUrl, program(1000), lengthHeaders(1000));
    EXPECT_FALSE(window->downloadUpdate());
    for (int off : {-11, -10, 10, 11}) {
        serve(kProgramUrl, program(), lengthHeaders(5000 + off));
        EXPECT_FALSE(window->downloadUpdate()) << off;
    }
    EXPECT_FALSE(app.fakes.files.files.count(kDownload));
    EXPECT_EQ(window->form().get<StatusBar>("StatusBar1").simpleText(), "The download was incomplete.");
}

TEST_F(AutoUpdate, OnlyASignedProgramForThisMachineIsWritten) {
    std::string elf = program();
    elf.replace(0, 4, "\x7F" "ELF");
    serveProgram(elf);
    EXPECT_FALSE(window->downloadUpdate());
    app.fakes.update.kind = ProgramKind::PeAmd64;  // the 64-bit build fetches its own file
    serve(kSite + "/qmxupdate64.exe", program(), lengthHeaders(5000));
    EXPECT_FALSE(window->downloadUpdate());
    app.fakes.update.kind = ProgramKind::PeI386;
    serveProgram(program(), "\x30\x06\x02\x01\x02\x02\x01\x01");
    EXPECT_FALSE(window->downloadUpdate());
    serveProgram(program(), "not DER at all");
    EXPECT_FALSE(window->downloadUpdate());
    serve(kProgramUrl, program(), "HTTP/1.1 404 Not Found\r\n\r\n");
    EXPECT_FALSE(window->downloadUpdate());
    EXPECT_TRUE(app.fakes.update.saved.empty());
}

TEST_F(AutoUpdate, InstallRecordsTheUpgradeAndHandsOverToTheDownload) {
    ASSERT_TRUE(window->checkForUpdate("5"));
    EXPECT_TRUE(window->installUpdate());
    EXPECT_EQ(value("ver"), "7");
    EXPECT_EQ(value("Up"), "b");
    EXPECT_EQ(value("donreq"), "z");
    EXPECT_EQ(value("App"), "2026-01-05 10:00:00");
    EXPECT_EQ(app.fakes.shell.started, std::vector<std::string>{kDownload});
    EXPECT_TRUE(app.host.ended);
}

TEST_F(AutoUpdate, InstallTriesSixTimesThenGivesUpChangingNothing) {
    serve(kProgramUrl, program(4000), lengthHeaders(5000));
    ASSERT_TRUE(window->checkForUpdate("5"));
    EXPECT_FALSE(window->installUpdate());
    EXPECT_EQ(requestsOf(kProgramUrl), 12);  // headers and body, six times
    EXPECT_EQ(value("Up"), "");
    EXPECT_EQ(value("ver"), "5");
    EXPECT_TRUE(app.fakes.shell.started.empty());
    EXPECT_FALSE(app.host.ended);
}

TEST_F(AutoUpdate, ProceedListsEachStepWithItsPicture) {
    inet.online = false;
    window->cmdProceed_Click();
    EXPECT_EQ(rows(), (std::vector<std::pair<std::string, int>>{{"Checking for updates...", 1},
                                                                {"You are currently not conneted to the Internet", 2}}));
    inet.online = true;
    serveVersion("5");
    window->cmdProceed_Click();
    EXPECT_EQ(rows(), (std::vector<std::pair<std::string, int>>{{"Checking for updates...", 1},
                                                                {"No new update available.", 2}}));
}

TEST_F(AutoUpdate, AFailedDownloadIsShownAndTheProgramKeepsRunning) {
    serveProgram(program(), "\x30\x06\x02\x01\x02\x02\x01\x01");
    window->cmdProceed_Click();
    EXPECT_EQ(rows(), (std::vector<std::pair<std::string, int>>{
                          {"Checking for updates...", 1},
                          {"New Update available.", 1},
                          {"Dowanloading New Version...Please wait.", 1},
                          {"This may take some time...", 0},
                          {"Depending on your Internet connection speed", 0},
                          {"The new version could not be downloaded.", 2}}));
    EXPECT_FALSE(app.host.ended);
    EXPECT_TRUE(window->form().get<CommandButton>("cmdProceed").enabled());
    EXPECT_EQ(window->form().get<StatusBar>("StatusBar1").simpleText(), "The download is not signed by Quillmere.");
}

TEST_F(AutoUpdate, ProceedEnsuresTheVersionValueAndTrapsAHeaderWithoutALineEnd) {
    app.fakes.registry.keys.clear();
    inet.headerTexts[kSite + "/qmx.txt"] = "HTTP/1.1 200 OK\r\nContent-Length: 1";
    window->cmdProceed_Click();
    EXPECT_EQ(value("ver"), "5");
    EXPECT_TRUE(app.log.has("frmAutoUpdate,cmd_Proceed", 5));
    EXPECT_EQ(rows().back(), (std::pair<std::string, int>{"No new update available.", 2}));
}

TEST_F(AutoUpdate, ACopyThePackageManagerKeepsChangesNothing) {
    app.fakes.update.replaceable = false;
    window->cmdProceed_Click();
    EXPECT_EQ(rows().back().first, "This copy of Quillmere is updated by the system's package manager.");
    EXPECT_TRUE(inet.requested.empty());
    EXPECT_EQ(value("Up"), "");
}

TEST_F(AutoUpdate, CancelStopsTheTransferAndTheRetriesAndClosesTheWindow) {
    window->form().show();
    window->cmdCancel_Click();
    EXPECT_FALSE(window->form().visible());
    EXPECT_GE(inet.cancels, 1);
    EXPECT_FALSE(window->installUpdate());
    EXPECT_EQ(requestsOf(kProgramUrl), 0);
    inet.busyPolls = 1;
    const int before = inet.cancels;
    window->Form_Unload();
    EXPECT_EQ(inet.cancels, before + 1);
    window->Form_Unload();  // nothing running: nothing to cancel
    EXPECT_EQ(inet.cancels, before + 1);
}

TEST_F(AutoUpdate, TheHelpMenuOpensTheWindowAndCheckForUpgradeStillOpensTheDownloadPage) {
    std::string shown;
    app.host.onModal = [&](Form& form) { shown = form.caption(); };
    app.get<Menu>("mnuHelpUpdate").userClick();
    EXPECT_EQ(shown, "AutoUpdate");
    app.get<Menu>("Uptmc").userClick();
    ASSERT_FALSE(app.fakes.shell.executed.empty());
    EXPECT_NE(app.fakes.shell.executed.back().file.find("download"), std::string::npos);
}

}  // namespace
}  // namespace qm
