// The subclass chain where it goes beyond plain stacking: procedures that take themselves off
// while they run, procedures of others put in front of the chain, the common controls' own
// subclassing on the same window, and the end of a window.
#include "framework/SubclassChain.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const UINT kTestMsg = WM_APP + 9;
std::vector<std::string> g_log;

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTestMsg) g_log.push_back("own");
    if (msg == WM_NCDESTROY) g_log.push_back("own-ncdestroy");
    return msg == kTestMsg ? 7 : ::DefWindowProcW(hwnd, msg, wp, lp);
}

HWND NewWindow() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &OwnProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LarkChainTest";
        return ::RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return ::CreateWindowExW(0, L"LarkChainTest", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

// ref: 0 passes on, 1 takes itself off and passes on, 2 passes on twice.
LRESULT CALLBACK Logged(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    if (msg == WM_NCDESTROY) g_log.push_back("p" + std::to_string(id) + "-ncdestroy");
    if (msg != kTestMsg) return subclass_chain::DefSubclass(hwnd, msg, wp, lp);
    g_log.push_back("p" + std::to_string(id));
    if (ref == 1) subclass_chain::Remove(hwnd, &Logged, id);
    LRESULT result = subclass_chain::DefSubclass(hwnd, msg, wp, lp);
    if (ref == 2) result += subclass_chain::DefSubclass(hwnd, msg, wp, lp);
    return result;
}

LRESULT CALLBACK CommonControlsProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == kTestMsg) g_log.push_back("comctl");
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

WNDPROC g_foreignNext = nullptr;
LRESULT CALLBACK ForeignProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTestMsg) g_log.push_back("foreign");
    return ::CallWindowProcW(g_foreignNext, hwnd, msg, wp, lp);
}

std::vector<std::string> Send(HWND hwnd, LRESULT* result = nullptr) {
    g_log.clear();
    const LRESULT r = ::SendMessageW(hwnd, kTestMsg, 0, 0);
    if (result) *result = r;
    return g_log;
}

LONG_PTR Proc(HWND hwnd) { return ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC); }

}  // namespace

TEST(SubclassChain, ProceduresMayTakeThemselvesOffOrPassAMessageOnTwiceWhileTheyRun) {
    HWND hwnd = NewWindow();
    const LONG_PTR own = Proc(hwnd);
    ASSERT_TRUE(subclass_chain::Set(hwnd, &Logged, 1, 0));
    ASSERT_TRUE(subclass_chain::Set(hwnd, &Logged, 2, 1));   // leaves after its first message
    ASSERT_TRUE(subclass_chain::Set(hwnd, &Logged, 3, 2));
    LRESULT result = 0;
    EXPECT_EQ((std::vector<std::string>{"p3", "p2", "p1", "own", "p1", "own"}), Send(hwnd, &result));
    EXPECT_EQ(14, result);
    EXPECT_EQ((std::vector<std::string>{"p3", "p1", "own", "p1", "own"}), Send(hwnd));
    EXPECT_FALSE(subclass_chain::Remove(hwnd, &Logged, 2));
    // Outside any message, passing on reaches the window's own procedure.
    g_log.clear();
    EXPECT_EQ(7, subclass_chain::DefSubclass(hwnd, kTestMsg, 0, 0));
    EXPECT_EQ(std::vector<std::string>{"own"}, g_log);

    // The last one taking itself off while it runs gives the window its procedure back.
    EXPECT_TRUE(subclass_chain::Remove(hwnd, &Logged, 3));
    ASSERT_TRUE(subclass_chain::Set(hwnd, &Logged, 1, 1));   // same pair: only its data changes
    EXPECT_EQ((std::vector<std::string>{"p1", "own"}), Send(hwnd));
    EXPECT_EQ(own, Proc(hwnd));
    EXPECT_EQ(std::vector<std::string>{"own"}, Send(hwnd));
    ::DestroyWindow(hwnd);
}

TEST(SubclassChain, OthersInFrontAndTheCommonControlsSubclassingKeepEveryPartOnTheWay) {
    HWND hwnd = NewWindow();
    const LONG_PTR own = Proc(hwnd);
    ASSERT_TRUE(subclass_chain::Set(hwnd, &Logged, 1, 0));
    ASSERT_TRUE(::SetWindowSubclass(hwnd, &CommonControlsProc, 1, 0));
    g_foreignNext = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    ASSERT_TRUE(subclass_chain::Set(hwnd, &Logged, 2, 0));
    EXPECT_EQ((std::vector<std::string>{"foreign", "comctl", "p2", "p1", "own"}), Send(hwnd));

    // Taken off beneath the others, the chain stays in place and passes everything on.
    EXPECT_TRUE(subclass_chain::Remove(hwnd, &Logged, 1));
    EXPECT_TRUE(subclass_chain::Remove(hwnd, &Logged, 2));
    EXPECT_EQ((std::vector<std::string>{"foreign", "comctl", "own"}), Send(hwnd));
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignNext));
    ASSERT_TRUE(::RemoveWindowSubclass(hwnd, &CommonControlsProc, 1));
    EXPECT_EQ(std::vector<std::string>{"own"}, Send(hwnd));

    // The chain's last message goes through every procedure; then the window is clean.
    ASSERT_TRUE(subclass_chain::Set(hwnd, &Logged, 4, 0));
    EXPECT_NE(own, Proc(hwnd));
    g_log.clear();
    ::DestroyWindow(hwnd);
    EXPECT_EQ((std::vector<std::string>{"p4-ncdestroy", "own-ncdestroy"}), g_log);
    EXPECT_FALSE(subclass_chain::Set(hwnd, &Logged, 5, 0));
    EXPECT_FALSE(subclass_chain::Remove(hwnd, &Logged, 4));
}
