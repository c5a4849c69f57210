// The win32 ports against the real functions (here under Wine): the file error numbers the
// program's traps rely on, a sane clock, the program folder's form, and the quoting of
// program paths.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <set>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_program_folder.h"
#include "platform/win32/win32_shell.h"
#include "support/error_of.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

constexpr uint64_t kAnyLength = 1u << 20;

using test::errorOf;

using test::TempFolder;

TEST(Win32Files, MissingFilesAndFoldersRaiseTheClassicNumbers) {
    Win32Files files;
    TempFolder dir;
    const std::string missing = dir.file("missing.txt");
    const std::string inMissingFolder = dir.path() + "\\no such folder\\file.txt";
    EXPECT_EQ(errorOf([&] { files.readAll(missing, kAnyLength); }), 53);
    EXPECT_EQ(errorOf([&] { files.remove(missing); }), 53);
    EXPECT_EQ(errorOf([&] { files.fileLength(missing); }), 53);
    EXPECT_EQ(errorOf([&] { files.writeAll(inMissingFolder, "x"); }), 76);
    EXPECT_EQ(errorOf([&] { files.append(inMissingFolder, "x"); }), 76);
    EXPECT_FALSE(files.fileExists(missing));
    EXPECT_FALSE(files.fileExists(dir.path()));  // a folder is no file
}

TEST(Win32Files, AFolderOrALockedFileIsAnAccessError) {
    Win32Files files;
    TempFolder dir;
    EXPECT_EQ(errorOf([&] { files.writeAll(dir.path(), "x"); }), 75);
    const std::string locked = dir.file("locked.txt");
    files.writeAll(locked, "held");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(errorOf([&] { files.readAll(locked, kAnyLength); }), 75);
    CloseHandle(holder);
}

TEST(Win32Files, WriteAppendReadLengthAndRemoveRoundTrip) {
    Win32Files files;
    TempFolder dir;
    const std::string path = dir.file("log.txt");
    files.append(path, "first\r\n");
    files.append(path, "second\r\n");
    EXPECT_EQ(files.readAll(path, kAnyLength), "first\r\nsecond\r\n");
    files.writeAll(path, std::string("a\0b", 3));
    EXPECT_EQ(files.readAll(path, kAnyLength), std::string("a\0b", 3));
    EXPECT_EQ(files.fileLength(path), 3u);
    files.remove(path);
    EXPECT_FALSE(files.fileExists(path));
}

// A write replaces the file whole and leaves no temporary; a read-only file refuses it; the
// temporaries of a writer that is gone are removed, those of running ones and other files kept.
TEST(Win32Files, WritesReplaceWholeAndStaleTemporariesGo) {
    Win32Files files;
    TempFolder dir;
    files.writeAll(dir.file("graphback.bmp"), "old");
    files.writeAll(dir.file("graphback.bmp"), "new bitmap");
    EXPECT_EQ(dir.content("graphback.bmp"), "new bitmap");
    SetFileAttributesA(dir.file("graphback.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(errorOf([&] { files.writeAll(dir.file("graphback.bmp"), "x"); }), 75);
    SetFileAttributesA(dir.file("graphback.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(dir.content("graphback.bmp"), "new bitmap");
    EXPECT_EQ(dir.entries(), std::set<std::string>{"graphback.bmp"});

    const std::string mine = ".settings.ini.qmtmp-" + std::to_string(GetCurrentProcessId()) + "-abcdef";
    const std::string gone = ".settings.ini.qmtmp-999999999-abcdef";  // no process has that id
    for (const std::string& name : {mine, gone, std::string(".x.qmtmp-12-short"), std::string("settings.ini")})
        dir.put(name, "x");
    files.removeStaleTemporaries(dir.path());
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"graphback.bmp", mine, ".x.qmtmp-12-short", "settings.ini"}));
}

TEST(Win32Clock, NowAgreesWithTheSystemClockAndTicksAdvance) {
    Win32Clock clock;
    SYSTEMTIME local{};
    GetLocalTime(&local);
    const DateTime expected = makeDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                                           local.wSecond, local.wMilliseconds);
    const DateTime now = clock.now();
    EXPECT_GE(now.ms, expected.ms);
    EXPECT_LT(now.ms - expected.ms, 5000);
    const uint32_t before = clock.tickCount();
    Sleep(100);
    const uint32_t elapsed = clock.tickCount() - before;  // wraps like the system's count
    EXPECT_GE(elapsed, 80u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(Win32ProgramFolder, TheFolderHoldsTheExecutableAndEndsWithoutSeparator) {
    Win32ProgramFolder folder;
    const std::string dir = folder.folder();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
    EXPECT_EQ(folder.separator(), '\\');
    EXPECT_EQ(folder.exePath().rfind(dir + "\\", 0), 0u);
    EXPECT_EQ(folder.exeName(), "win32_tests");
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(Win32ProgramFolder, PathsSplitAtTheLastSeparator) {
    EXPECT_EQ(folderOfPath("C:\\Program Files\\Quillmere\\Quillmere.exe"), "C:\\Program Files\\Quillmere");
    EXPECT_EQ(folderOfPath("C:\\Quillmere.exe"), "C:");
    EXPECT_EQ(baseNameOfPath("C:\\a.b\\Quillmere.exe"), "Quillmere");
    EXPECT_EQ(baseNameOfPath("C:\\a.b\\Quillmere"), "Quillmere");
}

TEST(Win32Shell, PathsWithBlanksAreQuotedOnce) {
    EXPECT_EQ(quotedCommandLine("C:\\Program Files\\App\\app.exe"), "\"C:\\Program Files\\App\\app.exe\"");
    EXPECT_EQ(quotedCommandLine("C:\\Tools\\app.exe"), "C:\\Tools\\app.exe");
    EXPECT_EQ(quotedCommandLine("\"C:\\Program Files\\app.exe\" -x"), "\"C:\\Program Files\\app.exe\" -x");
    EXPECT_EQ(quotedCommandLine(""), "");
}

TEST(Win32Shell, AProgramThatCannotStartIsError53AndFilesCopySilently) {
    Win32Shell shell;
    TempFolder dir;
    EXPECT_EQ(errorOf([&] { shell.startProgram(dir.path() + "\\no such program.exe"); }), 53);
    Win32Files files;
    const std::string source = dir.file("source.txt");
    const std::string target = dir.file("target.txt");
    files.writeAll(source, "payload");
    ASSERT_TRUE(shell.copyFileSilently(source, target));
    EXPECT_EQ(files.readAll(target, kAnyLength), "payload");
    EXPECT_FALSE(shell.copyFileSilently(dir.file("absent.txt"), dir.file("never.txt")));
}

}  // namespace
}  // namespace qm
