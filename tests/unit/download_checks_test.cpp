#include <gtest/gtest.h>

#include "support/error_of.h"
#include "update/auto_update.h"
#include "update/download_checks.h"
#include "update/update_site.h"

namespace qm {
namespace {

// A PE file of `size` bytes whose header names `machine`.
std::string peProgram(uint16_t machine, size_t size = 4096, uint32_t headerAt = 0x80) {
    std::string bytes(size, '\0');
    bytes[0] = 'M', bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<char>(headerAt >> (8 * i));
    if (headerAt + 6 <= size) {
        bytes.replace(headerAt, 4, std::string("PE\0\0", 4));
        bytes[headerAt + 4] = static_cast<char>(machine & 0xFF);
        bytes[headerAt + 5] = static_cast<char>(machine >> 8);
    }
    return bytes;
}

std::string elfProgram(char elfClass = 2, uint16_t type = 3, uint16_t machine = 62) {
    std::string bytes(4096, '\0');
    bytes.replace(0, 4, "\x7F" "ELF");
    bytes[4] = elfClass, bytes[5] = 1;
    bytes[16] = static_cast<char>(type), bytes[18] = static_cast<char>(machine & 0xFF);
    bytes[19] = static_cast<char>(machine >> 8);
    return bytes;
}

TEST(ProgramKindCheck, TellsTheProgramFormatsApart) {
    EXPECT_EQ(programKindOf(peProgram(0x014C)), ProgramKind::PeI386);
    EXPECT_EQ(programKindOf(peProgram(0x8664)), ProgramKind::PeAmd64);
    EXPECT_EQ(programKindOf(peProgram(0xAA64)), ProgramKind::Unknown);  // ARM64
    EXPECT_EQ(programKindOf(elfProgram()), ProgramKind::ElfX8664);
    EXPECT_EQ(programKindOf(elfProgram(2, 2)), ProgramKind::ElfX8664);
    EXPECT_EQ(programKindOf(elfProgram(1)), ProgramKind::Unknown);       // 32-bit
    EXPECT_EQ(programKindOf(elfProgram(2, 1)), ProgramKind::Unknown);    // an object file
    EXPECT_EQ(programKindOf(elfProgram(2, 3, 183)), ProgramKind::Unknown);  // AArch64
}

TEST(ProgramKindCheck, BrokenHeadersAreNoProgram) {
    EXPECT_EQ(programKindOf(""), ProgramKind::Unknown);
    EXPECT_EQ(programKindOf("MZ"), ProgramKind::Unknown);
    EXPECT_EQ(programKindOf("\x7F" "ELF"), ProgramKind::Unknown);
    EXPECT_EQ(programKindOf(std::string(4096, 'x')), ProgramKind::Unknown);
    EXPECT_EQ(programKindOf(peProgram(0x014C, 4096, 0xFFFFFFF0u)), ProgramKind::Unknown);
    EXPECT_EQ(programKindOf(peProgram(0x014C, 4096, 4092)), ProgramKind::Unknown);  // header cut off
    std::string noSignature = peProgram(0x014C);
    noSignature[0x81] = 'X';
    EXPECT_EQ(programKindOf(noSignature), ProgramKind::Unknown);
    EXPECT_EQ(programKindOf(peProgram(0x014C, 0x40, 0x3A)), ProgramKind::Unknown);
}

TEST(AnnouncedSize, ReadsTheLengthFieldAndTreats404AnywhereAsNotFound) {
    EXPECT_EQ(announcedSize("HTTP/1.1 200 OK\r\nContent-Length: 1234\r\n\r\n"), 1234);
    EXPECT_EQ(announcedSize("HTTP/2 200\r\ncontent-length:  77 \r\n\r\n"), 77);
    EXPECT_EQ(announcedSize("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\n"), 0);
    EXPECT_EQ(announcedSize("HTTP/1.1 200 OK\r\nETag: \"a404b\"\r\nContent-Length: 9\r\n\r\n"), 0);
    EXPECT_EQ(announcedSize("HTTP/1.1 200 OK\r\nContent-Length: 4040\r\n\r\n"), 0);
    EXPECT_EQ(announcedSize(""), 0);
    EXPECT_EQ(announcedSize("HTTP/1.1 200 OK\r\n\r\n"), 0);
    // After a redirect the final response's length counts.
    EXPECT_EQ(announcedSize("HTTP/1.1 301 Moved\r\nContent-Length: 5\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n"),
              3000);
}

TEST(AnnouncedSize, ABrokenLengthFieldRaisesTheClassicErrors) {
    EXPECT_EQ(test::errorOf([] { announcedSize("HTTP/1.1 200 OK\r\nContent-Length: 12"); }), 5);
    EXPECT_EQ(test::errorOf([] { announcedSize("Content-Length: 99999999999\r\n"); }), 6);
    EXPECT_EQ(announcedSize("Content-Length: abc\r\n"), 0);
}

TEST(VersionFile, ANumberAtTheStartIsTheVersion) {
    EXPECT_EQ(publishedVersion("  7\r\n"), std::optional<int16_t>(7));
    EXPECT_EQ(publishedVersion("12 is the newest"), std::optional<int16_t>(12));
    EXPECT_EQ(publishedVersion("2.5"), std::optional<int16_t>(2));  // halves go to even
    EXPECT_EQ(publishedVersion(""), std::nullopt);
    EXPECT_EQ(publishedVersion("version 7"), std::nullopt);
    EXPECT_EQ(publishedVersion("-3"), std::nullopt);
    EXPECT_EQ(test::errorOf([] { publishedVersion("40000"); }), 6);
}

TEST(DownloadLength, OnlyTheExactAnnouncedLengthAboveAThousandBytes) {
    const std::string thousand(1000, 'x');
    EXPECT_FALSE(lengthAccepted(thousand, 1000));  // last index 999
    const std::string program(5000, 'x');
    EXPECT_TRUE(lengthAccepted(program, 5000));
    for (int off : {-11, -10, -1, 1, 10, 11}) EXPECT_FALSE(lengthAccepted(program, 5000 + off)) << off;
    EXPECT_FALSE(lengthAccepted("", 0));
    EXPECT_FALSE(lengthAccepted(program, -5000));
}

std::string der(const std::string& r, const std::string& s) {
    std::string body = "\x02" + std::string(1, static_cast<char>(r.size())) + r + "\x02" +
                       std::string(1, static_cast<char>(s.size())) + s;
    return "\x30" + std::string(1, static_cast<char>(body.size())) + body;
}

TEST(SignatureDer, BecomesThirtyTwoBytesOfREachAndS) {
    const std::string r(32, '\x11'), s(32, '\x22');
    EXPECT_EQ(signatureFromDer(der(r, s)), r + s);
    // A high first byte is kept positive by a leading zero; short integers are padded.
    const std::string high = "\x80" + std::string(31, '\x01');
    EXPECT_EQ(signatureFromDer(der(std::string(1, '\0') + high, "\x05")), high + std::string(31, '\0') + "\x05");
}

TEST(SignatureDer, BrokenSignaturesAreRefused) {
    const std::string r(32, '\x11'), s(32, '\x22');
    const std::string good = der(r, s);
    EXPECT_FALSE(signatureFromDer(""));
    EXPECT_FALSE(signatureFromDer(std::string(64, '\x11')));                    // raw, no DER
    EXPECT_FALSE(signatureFromDer(good + "x"));                                  // trailing byte
    EXPECT_FALSE(signatureFromDer(good.substr(0, good.size() - 1)));             // cut short
    EXPECT_FALSE(signatureFromDer(der(r, "")));                                  // empty integer
    EXPECT_FALSE(signatureFromDer(der(r, "\x80" + std::string(31, '\x01'))));  // negative
    EXPECT_FALSE(signatureFromDer(der(r, std::string(33, '\x01'))));            // too large
    EXPECT_FALSE(signatureFromDer(der(r, std::string(40, '\0'))));
    std::string wrongTag = good;
    wrongTag[2] = 0x04;
    EXPECT_FALSE(signatureFromDer(wrongTag));
    std::string wrongLength = good;
    wrongLength[3] = 60;  // r claims more than there is before s
    EXPECT_FALSE(signatureFromDer(wrongLength));
}

TEST(UpdateSite, TheEnvironmentMayNameAnotherSite) {
    EXPECT_EQ(siteAddress(nullptr), "https://www.quillmere.example");
    EXPECT_EQ(siteAddress(""), "https://www.quillmere.example");
    EXPECT_EQ(siteAddress("https://127.0.0.1:8443/"), "https://127.0.0.1:8443");
    EXPECT_EQ(remoteProgramPath(ProgramKind::PeI386), "/qmxupdate.exe");
    EXPECT_NE(remoteProgramPath(ProgramKind::PeAmd64), remoteProgramPath(ProgramKind::PeI386));
    EXPECT_NE(remoteProgramPath(ProgramKind::ElfX8664), remoteProgramPath(ProgramKind::PeI386));
    EXPECT_EQ(downloadFileName(ProgramKind::PeAmd64), "qmx.exe");
    EXPECT_EQ(downloadFileName(ProgramKind::ElfX8664), "qmx");
}

TEST(UpdateSite, DateTimeTextOfTheUpgradeMoment) {
    EXPECT_EQ(dateTimeText(makeDateTime(2026, 1, 5, 10, 0, 0)), "2026-01-05 10:00:00");
    EXPECT_EQ(dateTimeText(makeDateTime(2024, 2, 29, 23, 59, 59, 999)), "2024-02-29 23:59:59");
    EXPECT_EQ(dateTimeText(makeDateTime(1969, 12, 31, 1, 2, 3)), "1969-12-31 01:02:03");
}

}  // namespace
}  // namespace qm
