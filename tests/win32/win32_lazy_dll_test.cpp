// The DLLs of rare actions are looked up at their first use; the program imports neither.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include "platform/win32/lazy_dll.h"
#include "platform/win32/win32_internet.h"

namespace qm {
namespace {

TEST(LazyDll, ATransferLoadsWinInetAndMissingPiecesGiveNull) {
    Win32Internet internet;
    EXPECT_FALSE(internet.probe("https://127.0.0.1:9/")) << "nothing listens there";
    EXPECT_NE(GetModuleHandleA("wininet.dll"), nullptr) << "loaded by the transfer";
    EXPECT_NE(lazyFunction<decltype(InternetOpenA)>("wininet.dll", "InternetOpenA"), nullptr);
    EXPECT_EQ(lazyFunction<decltype(InternetOpenA)>("wininet.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(lazyFunction<decltype(InternetOpenA)>("no_such_library.dll", "InternetOpenA"), nullptr);
}

}  // namespace
}  // namespace qm
