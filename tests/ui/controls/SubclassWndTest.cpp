// Hook chains on windows, alone and together with the framework's own subclassing.
#include "ui/controls/SubclassWnd.h"
#include "framework/Wnd.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const UINT kTestMsg = WM_APP + 5;
std::vector<std::string> g_log;

// What the window's own procedure saw of its last message.
struct NcDestroySeen {
    bool seen = false;
    bool mapEmpty = false;
} g_ncDestroy;

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTestMsg) {
        g_log.push_back("own");
        return 7;
    }
    if (msg == WM_NCDESTROY) {
        g_ncDestroy.seen = true;
        g_ncDestroy.mapEmpty = CSubclassWndMap::GetHookMap().Lookup(hwnd) == nullptr;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

HWND NewWindow() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &OwnProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LarkHookTest";
        return ::RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return ::CreateWindowExW(0, L"LarkHookTest", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

class LogHook : public CSubclassWnd {
public:
    explicit LogHook(std::string name, bool consume = false) : m_name(std::move(name)), m_consume(consume) {}

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kTestMsg) {
            g_log.push_back(m_name);
            if (m_consume) return 42;
        }
        return CSubclassWnd::WindowProc(msg, wp, lp);
    }

private:
    std::string m_name;
    bool m_consume;
};

class LogWnd : public CWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kTestMsg) g_log.push_back("cwnd");
        return CWnd::WindowProc(msg, wp, lp);
    }
};

std::vector<std::string> Send(HWND hwnd, LRESULT* result = nullptr) {
    g_log.clear();
    LRESULT r = ::SendMessageW(hwnd, kTestMsg, 0, 0);
    if (result) *result = r;
    return g_log;
}

LONG_PTR Proc(HWND hwnd) { return ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC); }

}  // namespace

TEST(SubclassWnd, NewestHookSeesMessagesFirstAndMayUseThemUp) {
    HWND hwnd = NewWindow();
    ASSERT_TRUE(hwnd);
    LogHook older("older"), newer("newer");
    EXPECT_TRUE(older.HookWindow(hwnd));
    EXPECT_TRUE(newer.HookWindow(hwnd));
    EXPECT_EQ(&newer, CSubclassWndMap::GetHookMap().Lookup(hwnd));
    LRESULT result = 0;
    EXPECT_EQ((std::vector<std::string>{"newer", "older", "own"}), Send(hwnd, &result));
    EXPECT_EQ(7, result);

    LogHook eater("eater", true);
    eater.HookWindow(hwnd);
    EXPECT_EQ((std::vector<std::string>{"eater"}), Send(hwnd, &result));
    EXPECT_EQ(42, result);
    ::DestroyWindow(hwnd);
}

TEST(SubclassWnd, HooksComeOffInAnyOrderAndTheLastRestoresTheOwnProcedure) {
    std::vector<int> order{0, 1, 2};
    do {
        SCOPED_TRACE(std::to_string(order[0]) + std::to_string(order[1]) + std::to_string(order[2]));
        HWND hwnd = NewWindow();
        const LONG_PTR own = Proc(hwnd);
        LogHook hooks[3] = {LogHook("h0"), LogHook("h1"), LogHook("h2")};
        for (LogHook& h : hooks) h.HookWindow(hwnd);
        EXPECT_NE(own, Proc(hwnd));
        std::vector<int> active{2, 1, 0};   // newest first
        for (int i : order) {
            hooks[i].HookWindow(nullptr);
            EXPECT_FALSE(hooks[i].IsHooked());
            active.erase(std::find(active.begin(), active.end(), i));
            std::vector<std::string> expected;
            for (int a : active) expected.push_back("h" + std::to_string(a));
            expected.push_back("own");
            EXPECT_EQ(expected, Send(hwnd));
        }
        EXPECT_EQ(own, Proc(hwnd));
        EXPECT_EQ(nullptr, CSubclassWndMap::GetHookMap().Lookup(hwnd));

        // Hooked again afterwards, the chain is back on the window.
        hooks[1].HookWindow(hwnd);
        EXPECT_NE(own, Proc(hwnd));
        EXPECT_EQ((std::vector<std::string>{"h1", "own"}), Send(hwnd));
        hooks[1].HookWindow(nullptr);
        EXPECT_EQ(own, Proc(hwnd));
        ::DestroyWindow(hwnd);
    } while (std::next_permutation(order.begin(), order.end()));
}

// Every order of putting two hooks and a framework window object on one window and of
// taking them off again: each message reaches every part that is on exactly once, the
// hooks newest first, the own procedure last; at the end the window is as it was.
TEST(SubclassWnd, HooksAndFrameworkSubclassingShareOneWindowInAnyOrder) {
    enum { kA, kB, kW };
    std::vector<int> putOn{kA, kB, kW};
    do {
        std::vector<int> takeOff{kA, kB, kW};
        do {
            SCOPED_TRACE("on " + std::to_string(putOn[0]) + std::to_string(putOn[1]) +
                         std::to_string(putOn[2]) + " off " + std::to_string(takeOff[0]) +
                         std::to_string(takeOff[1]) + std::to_string(takeOff[2]));
            HWND hwnd = NewWindow();
            const LONG_PTR own = Proc(hwnd);
            LogHook a("A"), b("B");
            LogWnd w;
            std::vector<int> on;   // in the order they went on
            auto check = [&] {
                std::vector<std::string> log = Send(hwnd);
                ASSERT_FALSE(log.empty());
                EXPECT_EQ("own", log.back());
                std::vector<std::string> hooksSeen;
                int cwndCount = 0;
                for (const std::string& s : log) {
                    if (s == "A" || s == "B") hooksSeen.push_back(s);
                    if (s == "cwnd") ++cwndCount;
                }
                std::vector<std::string> hooksExpected;
                for (auto it = on.rbegin(); it != on.rend(); ++it)
                    if (*it != kW) hooksExpected.push_back(*it == kA ? "A" : "B");
                EXPECT_EQ(hooksExpected, hooksSeen);
                EXPECT_EQ(std::count(on.begin(), on.end(), kW) ? 1 : 0, cwndCount);
                EXPECT_EQ(hooksExpected.size() + cwndCount + 1, log.size());
            };
            for (int part : putOn) {
                if (part == kA) a.HookWindow(hwnd);
                if (part == kB) b.HookWindow(hwnd);
                if (part == kW) ASSERT_TRUE(w.SubclassWindow(hwnd));
                on.push_back(part);
                check();
            }
            for (int part : takeOff) {
                if (part == kA) a.HookWindow(nullptr);
                if (part == kB) b.HookWindow(nullptr);
                if (part == kW) w.UnsubclassWindow();
                on.erase(std::find(on.begin(), on.end(), part));
                check();
            }
            EXPECT_EQ(own, Proc(hwnd));
            ::DestroyWindow(hwnd);
        } while (std::next_permutation(takeOff.begin(), takeOff.end()));
    } while (std::next_permutation(putOn.begin(), putOn.end()));
}

TEST(SubclassWnd, DestroyedWindowLetsGoOfEveryHookBeforeItsLastMessage) {
    for (bool withFrameworkObject : {false, true}) {
        SCOPED_TRACE(withFrameworkObject ? "also subclassed by a CWnd" : "hooks only");
        HWND hwnd = NewWindow();
        LogHook a("A"), b("B");
        LogWnd w;
        a.HookWindow(hwnd);
        if (withFrameworkObject) w.SubclassWindow(hwnd);
        b.HookWindow(hwnd);
        g_ncDestroy = {};
        ASSERT_TRUE(::DestroyWindow(hwnd));
        EXPECT_TRUE(g_ncDestroy.seen);
        EXPECT_TRUE(g_ncDestroy.mapEmpty);
        EXPECT_FALSE(a.IsHooked());
        EXPECT_FALSE(b.IsHooked());
        EXPECT_EQ(nullptr, CSubclassWndMap::GetHookMap().Lookup(hwnd));
        EXPECT_EQ(nullptr, w.m_hWnd);
    }
}

TEST(SubclassWnd, HookLetsGoWhenDestroyed) {
    HWND hwnd = NewWindow();
    const LONG_PTR own = Proc(hwnd);
    LogHook kept("kept");
    kept.HookWindow(hwnd);
    {
        LogHook scoped("scoped");
        scoped.HookWindow(hwnd);
        EXPECT_EQ((std::vector<std::string>{"scoped", "kept", "own"}), Send(hwnd));
    }
    EXPECT_EQ((std::vector<std::string>{"kept", "own"}), Send(hwnd));
    {
        auto last = std::make_unique<LogHook>("last");
        kept.HookWindow(nullptr);
        last->HookWindow(hwnd);
    }
    EXPECT_EQ(own, Proc(hwnd));
    EXPECT_EQ((std::vector<std::string>{"own"}), Send(hwnd));
    ::DestroyWindow(hwnd);
}

namespace {
class ThrowingHook : public CSubclassWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kTestMsg) throw std::runtime_error("hook failure");
        return CSubclassWnd::WindowProc(msg, wp, lp);
    }
};

// Takes itself out of the chain while handling a message, then passes the message on.
class OneShotHook : public CSubclassWnd {
protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kTestMsg) {
            g_log.push_back("once");
            HookWindow(nullptr);
        }
        return CSubclassWnd::WindowProc(msg, wp, lp);
    }
};
}  // namespace

TEST(SubclassWnd, FailingOrSelfRemovingHookStillLetsTheWindowSeeTheMessage) {
    HWND hwnd = NewWindow();
    const LONG_PTR own = Proc(hwnd);
    {
        ThrowingHook failing;
        failing.HookWindow(hwnd);
        LRESULT result = 0;
        EXPECT_EQ((std::vector<std::string>{"own"}), Send(hwnd, &result));
        EXPECT_EQ(7, result);
    }
    OneShotHook once;
    once.HookWindow(hwnd);
    EXPECT_EQ((std::vector<std::string>{"once", "own"}), Send(hwnd));
    EXPECT_FALSE(once.IsHooked());
    EXPECT_EQ(own, Proc(hwnd));
    EXPECT_EQ((std::vector<std::string>{"own"}), Send(hwnd));
    ::DestroyWindow(hwnd);
}
