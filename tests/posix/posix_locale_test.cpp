// A real German locale, made with localedef in a temporary folder: the process runs in it
// as the Qt program does (setlocale from the environment), yet stored numbers keep "." and
// the locale port reports "," for shown ones.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "base/convert.h"
#include "ordinary_user.h"
#include "platform/posix/posix_locale.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

// Makes de_DE.UTF-8 under the folder; false when localedef is not there or fails.
bool makeGermanLocale(const std::string& folder) {
    const std::string command = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// In the child: the environment of a German user, and the process locale Qt would set.
std::string enterGermanLocale(const std::string& folder) {
    ::setenv("LOCPATH", folder.c_str(), 1);
    ::setenv("LANG", "de_DE.UTF-8", 1);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_NUMERIC");
    if (!std::setlocale(LC_ALL, "")) return "the German locale could not be entered\n";
    return "";
}

TEST(PosixLocale, GermanUserGetsCommaShownAndPointStored) {
    test::TempFolder folder("qm_locale");
    if (!makeGermanLocale(folder.path())) GTEST_SKIP() << "localedef could not make de_DE.UTF-8";
    const std::string failures = test::inChildProcess([&] {
        std::string failures = enterGermanLocale(folder.path());
        if (!failures.empty()) return failures;
        test::expectThat(failures, PosixLocale().decimalSeparator() == ',', "the port did not report ','");
        test::expectThat(failures, val("1.5 Seconds") == 1.5, "Val read \"1.5\" as " + invariantNumberText(val("1.5")));
        test::expectThat(failures, invariantNumberText(1.5) == "1.5", "stored 1.5 as " + invariantNumberText(1.5));
        setUserDecimalSeparator(PosixLocale().decimalSeparator());
        test::expectThat(failures, singleText(511.87f) == "511,87", "shown as " + singleText(511.87f));
        test::expectThat(failures, toNumber("2,25") == 2.25, "\"2,25\" did not read in the user's format");
        return failures;
    });
    EXPECT_EQ(failures, "");
}

TEST(PosixLocale, PlainLocaleOrAMissingOneGivesPoint) {
    const std::string failures = test::inChildProcess([] {
        std::string failures;
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_NUMERIC");
        ::setenv("LANG", "C.UTF-8", 1);
        test::expectThat(failures, PosixLocale().decimalSeparator() == '.', "C.UTF-8 did not give '.'");
        ::setenv("LANG", "xx_NOWHERE.UTF-8", 1);
        test::expectThat(failures, PosixLocale().decimalSeparator() == '.', "an unknown locale did not give '.'");
        return failures;
    });
    EXPECT_EQ(failures, "");
}

}  // namespace
}  // namespace qm
