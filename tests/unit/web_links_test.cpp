#include <gtest/gtest.h>

#include <string>

#include "app/web_links.h"
#include "support/test_app.h"

namespace qm {
namespace {

using test::TestApp;

TEST(WebLinks, EachCommandOpensItsAddressWithItsOwnerAndFolder) {
    TestApp app;
    const std::string site = "https://www.quillmere.example";
    const struct {
        const char* name;
        std::function<void()> click;
        std::string address;
        bool owned;
        std::string folder;
    } kCases[] = {
        {"Visit Us", [&] { app.get<Menu>("mnuHelpVisitUs").userClick(); }, site + "/", false, "C:\\"},
        {"Help Contents", [&] { app.get<Menu>("mnuHelpContents").userClick(); }, site + "/quillmere-help/", false,
         "C:\\"},
        {"Check For Upgrade", [&] { app.get<Menu>("Uptmc").userClick(); }, site + "/download-quillmere.html", false,
         "C:\\"},
        {"farewell", [&] { openFarewellPage(app.fakes.shell); }, site + "/thankyou-for-using-quillmere.php", false,
         "C:\\"},
        {"User Guide", [&] { app.get<Label>("lblHelp").userClick(); }, site + "/quillmere-help/", true, ""},
        {"website label", [&] { app.get<Label>("lblWebsite").userClick(); }, site, true, ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        app.fakes.shell.executed.clear();
        c.click();
        ASSERT_EQ(app.fakes.shell.executed.size(), 1u);
        const test::ShellCall& call = app.fakes.shell.executed[0];
        EXPECT_EQ(call.file, c.address);
        EXPECT_EQ(call.operation, "Open");
        EXPECT_EQ(call.owned, c.owned);
        EXPECT_EQ(call.parameters, "");
        EXPECT_EQ(call.folder, c.folder);
        EXPECT_EQ(call.show, 1);
    }
    // Opening the download page is all the upgrade item does: nothing is fetched.
    EXPECT_TRUE(app.fakes.internet.requested.empty());
}

TEST(WebLinks, AboutPageShowsTheAddressItOpens) {
    TestApp app;
    EXPECT_EQ(app.get<Label>("lblWebsite").caption(), websiteAddress());
    EXPECT_NE(websiteAddress().find(kWebsiteHost), std::string::npos);
    EXPECT_EQ(websiteAddress().rfind("https://", 0), 0u);
}

}  // namespace
}  // namespace qm
