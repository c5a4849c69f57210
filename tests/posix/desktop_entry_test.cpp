// Application entries: recorded .desktop files (well-formed and broken), their Exec lines
// as the desktop starts them, and the shell port starting and naming such an entry.
#include "platform/posix/desktop_entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/app_error.h"
#include "platform/posix/posix_shell.h"
#include "support/error_of.h"

namespace qm::posix {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

// As Debian ships it, trimmed: actions, translations and comments around the main group.
constexpr const char* kFirefox =
    "# a comment\n"
    "[Desktop Entry]\n"
    "Version=1.0\n"
    "Name=Firefox ESR\n"
    "Name[de]=Firefox ESR (de)\n"
    "Comment=Browse the World Wide Web\n"
    "Exec=/usr/lib/firefox-esr/firefox-esr %u\n"
    "Icon=firefox-esr\n"
    "Terminal=false\n"
    "Type=Application\n"
    "\n"
    "[Desktop Action new-window]\n"
    "Name=New Window\n"
    "Exec=/usr/lib/firefox-esr/firefox-esr --new-window %u\n";

TEST(DesktopEntry, TheMainGroupOnlyFirstKeysWinEscapesDecoded) {
    const auto entry = parseDesktopEntry(kFirefox);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Firefox ESR");
    EXPECT_EQ(entry->type, "Application");
    EXPECT_EQ(entry->exec, "/usr/lib/firefox-esr/firefox-esr %u");
    EXPECT_EQ(entry->icon, "firefox-esr");
    EXPECT_FALSE(entry->terminal);

    const auto spaced = parseDesktopEntry("[Desktop Entry]\r\nName = Two\\sWords\\\\ \r\nName=Later\nTerminal=true\n");
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->name, "Two Words\\");
    EXPECT_TRUE(spaced->terminal);

    EXPECT_FALSE(parseDesktopEntry(""));
    EXPECT_FALSE(parseDesktopEntry("[Desktop Action x]\nName=A\nExec=a\n"));
    EXPECT_FALSE(parseDesktopEntry("\x7f" "ELF\x02\x01\x01 binary garbage"));
}

TEST(DesktopEntry, ExecQuotingAndFieldCodes) {
    const ExecFields fields{"Gimp", "gimp", "/usr/share/applications/gimp.desktop"};
    auto args = [&](const char* exec) { return execArguments(exec, fields); };
    EXPECT_EQ(args("gimp-2.10 %U"), (Args{"gimp-2.10"}));
    EXPECT_EQ(args("\"/opt/My App/run\" --name=%c %f"), (Args{"/opt/My App/run", "--name=Gimp"}));
    EXPECT_EQ(args("sh -c \"echo \\\"\\$HOME\\\" \\\\ \\`x\\`\""), (Args{"sh", "-c", "echo \"$HOME\" \\ `x`"}));
    EXPECT_EQ(args("app %i --entry %k 100%%"),
              (Args{"app", "--icon", "gimp", "--entry", "/usr/share/applications/gimp.desktop", "100%"}));
    EXPECT_EQ(args("app \"\"  %d%D"), (Args{"app", ""})) << "an empty quoted argument stays";
    EXPECT_EQ(execArguments("app %i", {}), (Args{"app"})) << "no icon: %i goes";
    EXPECT_FALSE(args("app \"unclosed"));
    EXPECT_FALSE(args("app %z"));
    EXPECT_FALSE(args("app 50%"));
    EXPECT_FALSE(args("%u %F"));
    EXPECT_FALSE(args(""));
}

TEST(DesktopEntry, LaunchArgumentsOfApplicationsOnly) {
    EXPECT_EQ(launchArguments(kFirefox, "/x/firefox.desktop"), (Args{"/usr/lib/firefox-esr/firefox-esr"}));
    EXPECT_EQ(launchArguments("[Desktop Entry]\nType=Application\nName=Top\nExec=top\nTerminal=true\n", "/t"),
              (Args{"x-terminal-emulator", "-e", "top"}));
    EXPECT_FALSE(launchArguments("[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n", "/l"));
    EXPECT_FALSE(launchArguments("[Desktop Entry]\nType=Application\nName=NoExec\n", "/n"));
    EXPECT_TRUE(isDesktopEntryPath("/usr/share/applications/org.gnome.Gedit.DESKTOP"));
    EXPECT_FALSE(isDesktopEntryPath("/usr/bin/desktop"));
}

TEST(DesktopEntryShell, AnEntryIsNamedAndStartedAsTheDesktopWould) {
    std::string pattern = (fs::temp_directory_path() / "qm entry XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string folder = pattern, out = folder + "/args.txt", script = folder + "/my tool";
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" << out << "'\n";
    ::chmod(script.c_str(), 0755);
    const std::string entry = folder + "/tool.desktop";
    std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=My Tool\nExec=\"" << script
                         << "\" --from %k %F\n";
    std::ofstream(folder + "/broken.desktop") << "[Desktop Entry]\nType=Application\nName=Broken\nExec=\"open\n";

    PosixShell shell;
    EXPECT_EQ(shell.applicationName(entry), "My Tool");
    EXPECT_EQ(shell.applicationName(script), std::nullopt);
    EXPECT_EQ(shell.applicationName(folder + "/missing.desktop"), std::nullopt);
    shell.startProgram(entry);
    for (int i = 0; i < 200 && !fs::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(out);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "--from\n" + entry + "\n");
    EXPECT_EQ(test::errorOf([&] { shell.startProgram(folder + "/broken.desktop"); }), errFileNotFound);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace qm::posix
