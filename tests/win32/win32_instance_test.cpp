// The single-instance check through the hidden application window. Two instances in one
// process stand for two starts: the mutex and the window search behave the same between
// processes (the end-to-end test covers that).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/win32_instance.h"

namespace qm {
namespace {

void pumpFor(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (GetTickCount() < end) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

std::string titleOf(HWND hwnd) {
    char text[128] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

TEST(Win32InstanceTest, ASecondStartFindsTheFirstAndAsksItToShow) {
    Win32Instance first;
    int activations = 0;
    first.onActivate = [&] { ++activations; };
    EXPECT_FALSE(first.previousInstanceRunning());
    EXPECT_EQ(titleOf(first.appWindow()), kAppWindowTitle);
    EXPECT_FALSE(IsWindowVisible(first.appWindow())) << "the application window is never shown";

    Win32Instance second;
    ASSERT_TRUE(second.previousInstanceRunning());
    EXPECT_TRUE(second.activatePreviousInstance());
    EXPECT_EQ(titleOf(second.appWindow()), kClosingTitle) << "renamed first, so the search cannot find itself";
    pumpFor(200);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(titleOf(first.appWindow()), kAppWindowTitle);
}

TEST(Win32InstanceTest, WithoutARunningWindowTheStartIsNormal) {
    Win32Instance only;
    EXPECT_FALSE(only.activatePreviousInstance()) << "its own window is no running instance";
    EXPECT_EQ(titleOf(only.appWindow()), kAppWindowTitle) << "a normal instance keeps the application title";
    EXPECT_EQ(FindWindowA(kAppWindowClass, kAppWindowTitle), only.appWindow());
}

TEST(Win32InstanceTest, AStartWaitingForTheRunningInstanceToEndTakesOverFromIt) {
    auto running = std::make_unique<Win32Instance>();
    EXPECT_FALSE(running->previousInstanceRunning());
    Win32Instance next;
    const ULONGLONG begin = GetTickCount64();
    EXPECT_FALSE(next.previousInstanceEnded(100)) << "an instance that stays is still there after the wait";
    EXPECT_GE(GetTickCount64() - begin, 90u);
    running.reset();
    EXPECT_TRUE(next.previousInstanceEnded(1000));
    EXPECT_FALSE(next.previousInstanceRunning());
    EXPECT_TRUE(Win32Instance().previousInstanceRunning()) << "later starts find this one";
}

}  // namespace
}  // namespace qm
