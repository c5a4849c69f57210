// The user's decimal separator as Windows' Regional Settings give it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/win32/win32_locale.h"

namespace qm {
namespace {

std::string userSetting(LCTYPE type) {
    char text[16] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);
    return text;
}

// The user's own separator for the test's length; the one before is put back afterwards.
struct UserSeparator {
    std::string before = userSetting(LOCALE_SDECIMAL);
    explicit UserSeparator(const char* separator) { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator); }
    ~UserSeparator() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, before.c_str()); }
};

TEST(Win32Locale, FollowsTheSeparatorTheUserSet) {
    {
        UserSeparator comma(",");
        EXPECT_EQ(Win32Locale().decimalSeparator(), ',');
    }
    {
        UserSeparator twoCharacters("::");  // none of one character
        EXPECT_EQ(Win32Locale().decimalSeparator(), '.');
    }
    EXPECT_EQ(Win32Locale().decimalSeparator(), userSetting(LOCALE_SDECIMAL)[0]);
}

// Run by tests/e2e_win/german_user.sh, which starts the tests in a German user locale.
TEST(Win32Locale, GermanUserLocaleGivesComma) {
    if (!std::getenv("QM_GERMAN_USER")) GTEST_SKIP() << "needs a German user locale (tests/e2e_win/german_user.sh)";
    EXPECT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())), LANG_GERMAN);
    EXPECT_EQ(Win32Locale().decimalSeparator(), ',');
}

}  // namespace
}  // namespace qm
