// The profile file as pure text. Where each expectation comes from:
//   [doc]  Microsoft's GetPrivateProfileString / WritePrivateProfileString pages
//   [nt]   Wine's kernel32 profile tests, which pass on Windows NT and later
//   [wine] Wine's implementation, where no Windows record exists
// The same cases run against the real functions in tests/win32/win32_profile_test.cpp.
#include "platform/profile_text.h"
#include "platform/profile_encoding.h"

#include <gtest/gtest.h>

#include "support/profile_cases.h"

namespace qm {
namespace {

class ProfileRead : public ::testing::TestWithParam<ProfileReadCase> {};

TEST_P(ProfileRead, GivesWhatTheBufferWouldHold) {
    const ProfileReadCase& c = GetParam();
    EXPECT_EQ(profileGetString(c.file, c.section, c.key, c.defaultValue, c.bufferSize), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Files, ProfileRead, ::testing::ValuesIn(profileReadCases()),
                         [](const auto& info) { return info.param.name; });

class ProfileWrite : public ::testing::TestWithParam<ProfileWriteCase> {};

TEST_P(ProfileWrite, LeavesTheFileAsWindowsDoes) {
    const ProfileWriteCase& c = GetParam();
    EXPECT_EQ(profileWriteString(c.file, c.section, c.key, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Files, ProfileWrite, ::testing::ValuesIn(profileWriteCases()),
                         [](const auto& info) { return info.param.name; });

// A run of writes as the option handlers make them; every value must read back, and the
// values written earlier must survive the later writes.
TEST(ProfileRoundTrip, EveryWriteReadsBack) {
    const struct { const char* section; const char* key; const char* value; } writes[] = {
        {"RAM", "Release", "3"},       {"Auto", "Minimum", "2"},      {"auto", "Release", "7"},
        {"Time", "Interval", "Hour"},  {"RAM", "Release", "12"},      {"Memory", "GraphInterval", "1.5"},
        {"AUTO", "minimum", "-1"},     {"Startup", "Display", "0"},   {"Time", "Interval", "Minutes"},
    };
    const std::string before = "; kept\r\n[Other]\r\nx=1\r\n\r\n";
    std::string file = before;
    for (const auto& w : writes) {
        file = profileWriteString(file, w.section, w.key, w.value);
        EXPECT_EQ(profileGetString(file, w.section, w.key, "none", 255), w.value) << file;
    }
    EXPECT_EQ(profileGetString(file, "Auto", "Minimum", "none", 255), "-1");
    EXPECT_EQ(profileGetString(file, "ram", "release", "none", 255), "12");
    EXPECT_EQ(profileGetString(file, "Other", "x", "none", 255), "1");
    EXPECT_EQ(file.substr(0, before.size()), before) << "untouched lines keep their bytes";
}

TEST(ProfileRoundTrip, LongValueIsStoredWholeAndReadCut) {
    std::string value(300, 'v');
    std::string file = profileWriteString("", "S", "k", value);
    EXPECT_EQ(profileGetString(file, "S", "k", "", 1000), value);
    EXPECT_EQ(profileGetString(file, "S", "k", "", 255), value.substr(0, 254));
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

// The encodings a UTF-16 settings file passes through: every ANSI byte survives the trip
// to UTF-8 and back, characters beyond the BMP keep their surrogate pairs, broken input
// gives U+FFFD or its bytes instead of being lost or read past its end.
TEST(ProfileEncoding, ConversionsKeepWhatTheyCanAndMarkTheRest) {
    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
    EXPECT_EQ(ansiFromUtf8(utf8FromAnsi(everyByte)), everyByte);
    EXPECT_EQ(utf8FromAnsi("\x80\x9f"), "\xe2\x82\xac\xc5\xb8");  // the euro sign and Y diaeresis of 1252

    const std::string clef = "\xf0\x9d\x84\x9e";  // U+1D11E, a surrogate pair in UTF-16
    EXPECT_EQ(utf16LeFromUtf8(clef), std::string("\x34\xd8\x1e\xdd", 4));
    EXPECT_EQ(utf8FromUtf16Le(utf16LeFromUtf8("a" + clef + "\xe6\x97\xa5")), "a" + clef + "\xe6\x97\xa5");
    EXPECT_EQ(utf8FromUtf16Le(std::string("\x34\xd8" "a\0", 4)), "\xef\xbf\xbd" "a") << "a lone high surrogate";
    EXPECT_EQ(utf8FromUtf16Le(std::string("\x1e\xdd", 2)), "\xef\xbf\xbd") << "a lone low surrogate";
    EXPECT_EQ(utf8FromUtf16Le(std::string("a\0b", 3)), "a") << "an odd last byte is dropped";
    EXPECT_EQ(ansiFromUtf8("\xe6\x97\xa5" "\xc3"), "?\xc3") << "a cut sequence keeps its byte";
}

}  // namespace
}  // namespace qm
