#include "ui/controls/XPMenuBar.h"
#include "app/ColorUtil.h"
#include "framework/FrameWnd.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr UINT kExit = 57665;

// A hidden frame that records the commands it receives.
class RecordingFrame : public CFrameWnd {
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(wParam));
        return CFrameWnd::OnCommand(wParam, lParam);
    }
};

// Popup menus that never enter a menu loop: each call is recorded, and a scripted action can
// play what the user does while the menu is open.
class ScriptedPopups : public IPopupMenuPresenter {
public:
    struct Call {
        HMENU menu;
        POINT at;
        HWND owner;
        RECT exclude;
    };
    std::vector<Call> calls;
    std::vector<std::function<void()>> actions;   // one per call, in order; none: just close

    ScriptedPopups() { m_previous = AfxSetPopupMenuPresenter(this); }
    ~ScriptedPopups() override { AfxSetPopupMenuPresenter(m_previous); }
    BOOL Track(HMENU menu, UINT, int x, int y, HWND owner, const TPMPARAMS* params) override {
        calls.push_back(Call{menu, POINT{x, y}, owner, params ? params->rcExclude : RECT{}});
        const size_t n = calls.size() - 1;
        if (n < actions.size() && actions[n]) actions[n]();
        return TRUE;
    }

private:
    IPopupMenuPresenter* m_previous = nullptr;
};

class XPMenuBarTest : public testing::Test {
protected:
    void SetUp() override {
        frame = new RecordingFrame;   // deletes itself when destroyed
        ASSERT_TRUE(frame->CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 100, 100, 600, 400, nullptr, 0));
        ASSERT_TRUE(bar.CreateBar(frame));
        menu = ::CreateMenu();
        for (const wchar_t* text : {L"ファイル(&F)", L"表示(&V)", L"再生(&P)"}) {
            HMENU popup = ::CreatePopupMenu();
            ::AppendMenuW(popup, MF_STRING, 100, L"項目");
            popups.push_back(popup);
            ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text);
        }
        ::AppendMenuW(menu, MF_STRING, kExit, L"Quit");   // a command entry without "&"
        ASSERT_TRUE(bar.LoadMenuBar(menu));
        const SIZE size = bar.CalcFixedLayout(FALSE, TRUE);
        ::MoveWindow(bar.m_hWnd, 0, 0, size.cx + 50, size.cy, FALSE);
        SetKeys({});
    }
    void TearDown() override {
        SetKeys({});
        bar.DestroyWindow();
        if (frame->m_hWnd) ::DestroyWindow(frame->m_hWnd);
    }

    // The keys held down as the thread's keyboard state sees them.
    static void SetKeys(std::initializer_list<int> held) {
        BYTE state[256] = {};
        for (int vk : held) state[vk] = 0x80;
        ::SetKeyboardState(state);
    }
    bool Key(UINT message, UINT vk, bool alt = false, HWND target = nullptr) {
        MSG msg{};
        msg.hwnd = target ? target : frame->m_hWnd;
        msg.message = message;
        msg.wParam = vk;
        msg.lParam = 1 | (alt ? (1 << 29) : 0) | ((message == WM_KEYUP || message == WM_SYSKEYUP) ? (3u << 30) : 0);
        return bar.TranslateFrameMessage(&msg);
    }
    // Alt pressed and let go on its own.
    void TapAlt() {
        EXPECT_TRUE(Key(WM_SYSKEYDOWN, VK_MENU, true));
        EXPECT_TRUE(Key(WM_SYSKEYUP, VK_MENU, true));
    }
    POINT ScreenCentre(int index) const {
        const RECT& r = bar.GetItem(index)->m_rect;
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(bar.m_hWnd, &pt);
        return pt;
    }
    bool MenuInput(UINT message, WPARAM wParam, POINT pt = POINT{}) {
        MSG msg{};
        msg.message = message;
        msg.wParam = wParam;
        msg.pt = pt;
        return bar.OnMenuInput(msg);
    }
    void ExpectHot(int index, MenuBarTrackState state) {
        EXPECT_EQ(state, bar.GetTrackState());
        EXPECT_EQ(index, bar.GetHotIndex());
        for (int i = 0; i < bar.GetItemCount(); ++i)
            EXPECT_EQ(i == index && state != TRACK_NONE, (bar.GetItem(i)->m_state & MISTATE_HOT) != 0) << i;
    }

    RecordingFrame* frame = nullptr;
    CXPMenuBar bar;
    HMENU menu = nullptr;
    std::vector<HMENU> popups;
    ScriptedPopups scripted;
};

}  // namespace

TEST_F(XPMenuBarTest, AltOrF10AloneTogglesTheKeyboardMode) {
    TapAlt();
    ExpectHot(0, TRACK_BUTTON);
    TapAlt();
    ExpectHot(-1, TRACK_NONE);

    EXPECT_TRUE(Key(WM_SYSKEYDOWN, VK_F10));
    EXPECT_TRUE(Key(WM_SYSKEYUP, VK_F10));
    ExpectHot(0, TRACK_BUTTON);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_ESCAPE));
    ExpectHot(-1, TRACK_NONE);

    // A hidden bar leaves Alt to the frame and never holds a selection.
    TapAlt();
    ::ShowWindow(bar.m_hWnd, SW_HIDE);
    EXPECT_FALSE(Key(WM_KEYDOWN, VK_RIGHT));
    ExpectHot(-1, TRACK_NONE);
    EXPECT_FALSE(Key(WM_SYSKEYDOWN, VK_MENU, true));
    EXPECT_FALSE(Key(WM_SYSKEYUP, VK_MENU, true));
    ExpectHot(-1, TRACK_NONE);
    ::ShowWindow(bar.m_hWnd, SW_SHOWNA);

    // Shift+F10 is the context-menu key, not the menu bar's.
    SetKeys({VK_SHIFT});
    EXPECT_FALSE(Key(WM_SYSKEYDOWN, VK_F10));
    EXPECT_FALSE(Key(WM_SYSKEYUP, VK_F10));
    ExpectHot(-1, TRACK_NONE);
    EXPECT_TRUE(scripted.calls.empty());
}

TEST_F(XPMenuBarTest, ReleasingAltAfterAnAltAcceleratorKeepsTheBarIdle) {
    for (UINT vk : {UINT('A'), UINT('1'), UINT(VK_LEFT), UINT(VK_SPACE), UINT('M')}) {
        EXPECT_TRUE(Key(WM_SYSKEYDOWN, VK_MENU, true));
        EXPECT_FALSE(Key(WM_SYSKEYDOWN, vk, true)) << "the accelerator must see key " << vk;
        EXPECT_FALSE(Key(WM_SYSKEYUP, vk, true));
        EXPECT_TRUE(Key(WM_SYSKEYUP, VK_MENU, true));
        ExpectHot(-1, TRACK_NONE);
    }
    // Held Alt repeats its key-down; alone it still selects.
    EXPECT_TRUE(Key(WM_SYSKEYDOWN, VK_MENU, true));
    MSG repeat{frame->m_hWnd, WM_SYSKEYDOWN, VK_MENU, (1 << 29) | (1 << 30) | 1};
    EXPECT_TRUE(bar.TranslateFrameMessage(&repeat));
    EXPECT_TRUE(Key(WM_SYSKEYUP, VK_MENU, true));
    ExpectHot(0, TRACK_BUTTON);
    EXPECT_TRUE(scripted.calls.empty());
}

TEST_F(XPMenuBarTest, ArrowsMoveAndOpenInKeyboardMode) {
    TapAlt();
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RIGHT));
    ExpectHot(1, TRACK_BUTTON);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_LEFT));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_LEFT));   // wraps to the last entry
    ExpectHot(3, TRACK_BUTTON);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RIGHT));
    ExpectHot(0, TRACK_BUTTON);

    EXPECT_TRUE(Key(WM_KEYDOWN, VK_DOWN));
    ASSERT_EQ(1u, scripted.calls.size());
    EXPECT_EQ(popups[0], scripted.calls[0].menu);
    EXPECT_EQ(frame->m_hWnd, scripted.calls[0].owner);
    RECT r = bar.GetItem(0)->m_rect;
    ::MapWindowPoints(bar.m_hWnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left - 1, scripted.calls[0].at.x);
    EXPECT_EQ(r.bottom, scripted.calls[0].at.y);
    EXPECT_EQ(r.bottom + 1, scripted.calls[0].exclude.bottom);
    ExpectHot(-1, TRACK_NONE);

    // Any other key leaves the keyboard mode and goes on to the window.
    TapAlt();
    EXPECT_FALSE(Key(WM_KEYDOWN, VK_TAB));
    ExpectHot(-1, TRACK_NONE);

    // Docked at a side, Up and Down move and Right opens.
    bar.SetBarStyle(0x1000 | 0x0032);
    bar.CalcFixedLayout(FALSE, FALSE);
    TapAlt();
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_DOWN));
    ExpectHot(1, TRACK_BUTTON);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RIGHT));
    ASSERT_EQ(2u, scripted.calls.size());
    EXPECT_EQ(popups[1], scripted.calls[1].menu);
    r = bar.GetItem(1)->m_rect;
    ::MapWindowPoints(bar.m_hWnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.right + 1, scripted.calls[1].at.x);
    EXPECT_EQ(r.top - 1, scripted.calls[1].at.y);
}

TEST_F(XPMenuBarTest, MnemonicsOpenTheirEntry) {
    EXPECT_TRUE(Key(WM_SYSKEYDOWN, VK_MENU, true));
    EXPECT_TRUE(Key(WM_SYSKEYDOWN, 'V', true));
    ASSERT_EQ(1u, scripted.calls.size());
    EXPECT_EQ(popups[1], scripted.calls[0].menu);
    EXPECT_TRUE(Key(WM_SYSKEYUP, VK_MENU, true));
    ExpectHot(-1, TRACK_NONE);

    TapAlt();
    EXPECT_TRUE(Key(WM_KEYDOWN, 'P'));
    ASSERT_EQ(2u, scripted.calls.size());
    EXPECT_EQ(popups[2], scripted.calls[1].menu);

    TapAlt();
    EXPECT_TRUE(Key(WM_KEYDOWN, 'Z'));   // no such entry: used up, the mode stays
    ExpectHot(0, TRACK_BUTTON);
    EXPECT_TRUE(Key(WM_KEYDOWN, 'Q'));   // "Quit" has no "&": its first letter
    EXPECT_EQ(std::vector<UINT>{kExit}, frame->commands);
    ExpectHot(-1, TRACK_NONE);
    EXPECT_EQ(2u, scripted.calls.size());
}

TEST_F(XPMenuBarTest, ArrowsInsideAnOpenPopupMoveToTheNextEntry) {
    // Right on an entry without submenu opens the next entry's popup, but not on an entry
    // with a submenu; Left moves back, but not inside a submenu; Left from the first entry
    // wraps to the last, the command entry, which is only selected: its command waits.
    scripted.actions = {
        [&] {
            ::SendMessageW(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(popups[0]));
            EXPECT_FALSE(MenuInput(WM_KEYDOWN, VK_RIGHT));
            ::SendMessageW(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(100, MF_STRING), reinterpret_cast<LPARAM>(popups[0]));
            EXPECT_TRUE(MenuInput(WM_KEYDOWN, VK_RIGHT));
        },
        [&] {
            // Only the item whose popup is open looks pressed.
            EXPECT_FALSE(bar.GetItem(0)->m_state & (MISTATE_PRESSED | MISTATE_HOT));
            EXPECT_TRUE(bar.GetItem(1)->m_state & MISTATE_PRESSED);
            HMENU submenu = ::CreatePopupMenu();
            ::SendMessageW(frame->m_hWnd, WM_MENUSELECT, MAKEWPARAM(1, MF_STRING), reinterpret_cast<LPARAM>(submenu));
            EXPECT_FALSE(MenuInput(WM_KEYDOWN, VK_LEFT));
            ::DestroyMenu(submenu);
            EXPECT_TRUE(MenuInput(WM_KEYDOWN, VK_RIGHT));
        },
        [&] { EXPECT_TRUE(MenuInput(WM_KEYDOWN, VK_LEFT)); },
        [&] { EXPECT_TRUE(MenuInput(WM_KEYDOWN, VK_LEFT)); },
        [&] { EXPECT_TRUE(MenuInput(WM_KEYDOWN, VK_LEFT)); },
    };
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(bar.GetItem(0)->m_rect.left + 2, 3));
    ASSERT_EQ(5u, scripted.calls.size());
    const HMENU expected[] = {popups[0], popups[1], popups[2], popups[1], popups[0]};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(expected[i], scripted.calls[i].menu) << i;
    EXPECT_TRUE(frame->commands.empty());
    ExpectHot(3, TRACK_BUTTON);
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_DOWN));   // opened from the keyboard, it runs
    EXPECT_EQ(std::vector<UINT>{kExit}, frame->commands);
    ExpectHot(-1, TRACK_NONE);
}

TEST_F(XPMenuBarTest, MovingOntoAnEntryWithoutPopupWhileAPopupIsOpenOnlySelectsIt) {
    scripted.actions = {[&] { EXPECT_FALSE(MenuInput(WM_MOUSEMOVE, 0, ScreenCentre(3))); }};
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(bar.GetItem(2)->m_rect.left + 2, 3));
    EXPECT_EQ(1u, scripted.calls.size());
    EXPECT_TRUE(frame->commands.empty()) << "passing over it runs nothing";
    ExpectHot(3, TRACK_BUTTON_HOVER);

    // A click on it runs its command.
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(bar.GetItem(3)->m_rect.left + 2, 3));
    EXPECT_EQ(std::vector<UINT>{kExit}, frame->commands);
    EXPECT_EQ(1u, scripted.calls.size());
}

TEST_F(XPMenuBarTest, AltInsideAPopupAndClicksOnTheBar) {
    // Alt used inside an open popup: letting it go afterwards selects nothing.
    scripted.actions = {[&] { EXPECT_FALSE(MenuInput(WM_SYSKEYDOWN, VK_MENU)); }};
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(bar.GetItem(1)->m_rect.left + 2, 3));
    EXPECT_TRUE(Key(WM_SYSKEYUP, VK_MENU, true));
    ExpectHot(-1, TRACK_NONE);

    // Moving over another entry while a popup is open switches to it; a click on the open
    // entry's own button closes the popup and leaves the entry selected for the keyboard.
    scripted.calls.clear();
    scripted.actions = {
        [&] { EXPECT_FALSE(MenuInput(WM_MOUSEMOVE, 0, ScreenCentre(2))); },
        [&] {
            EXPECT_FALSE(bar.GetItem(1)->m_state & MISTATE_PRESSED);
            EXPECT_TRUE(MenuInput(WM_LBUTTONDOWN, MK_LBUTTON, ScreenCentre(2)));
        },
    };
    ::SendMessageW(bar.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(bar.GetItem(1)->m_rect.left + 2, 3));
    ASSERT_EQ(2u, scripted.calls.size());
    EXPECT_EQ(popups[2], scripted.calls[1].menu);
    ExpectHot(2, TRACK_BUTTON);

    // A click on another window ends the keyboard mode.
    MSG click{frame->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0};
    EXPECT_FALSE(bar.TranslateFrameMessage(&click));
    ExpectHot(-1, TRACK_NONE);
}

TEST_F(XPMenuBarTest, MouseHoverSelectsAndLeavingClearsIt) {
    const RECT& r = bar.GetItem(1)->m_rect;
    ::SendMessageW(bar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 2, r.top + 2));
    ExpectHot(1, TRACK_BUTTON_HOVER);
    // The hover timer finds the cursor away from the bar.
    RECT window;
    ::GetWindowRect(bar.m_hWnd, &window);
    ::SetCursorPos(window.right + 40, window.bottom + 40);
    ::SendMessageW(bar.m_hWnd, WM_TIMER, 1, 0);
    ExpectHot(-1, TRACK_NONE);

    RECT client;
    ::GetClientRect(bar.m_hWnd, &client);
    ::SendMessageW(bar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 2, r.top + 2));
    ::SendMessageW(bar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.right - 2, r.top + 2));   // past the last entry
    ExpectHot(-1, TRACK_NONE);
}

TEST_F(XPMenuBarTest, ItemsLieInARowOrAColumn) {
    // The sizes come from the system's menu font, read with the record's own size.
    const CXPMenuMetrics& mx = CreateMenuBarFonts();
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0));
    ASSERT_NE(nullptr, mx.horizontalFont);
    ASSERT_NE(nullptr, mx.verticalFont);
    if (ncm.lfMenuFont.lfHeight != 0) {
        EXPECT_EQ(std::abs(ncm.lfMenuFont.lfHeight), mx.fontHeight);
    }
    EXPECT_EQ(std::max(ncm.iMenuHeight, ::GetSystemMetrics(SM_CYSMICON)), mx.itemHeight);
    const SIZE row = bar.CalcFixedLayout(FALSE, TRUE);
    int x = 2, length = 0;
    for (int i = 0; i < bar.GetItemCount(); ++i) {
        const CXPMenuItem* item = bar.GetItem(i);
        EXPECT_TRUE(item->IsHorizontal());
        EXPECT_EQ(x, item->m_rect.left);
        EXPECT_EQ(2, item->m_rect.top);
        EXPECT_EQ(item->m_size.cx, item->m_rect.right - item->m_rect.left);
        EXPECT_EQ(mx.fontHeight + 2 * mx.textMargin, item->m_rect.bottom - item->m_rect.top);
        x = item->m_rect.right;
        length += item->m_size.cx;
    }
    EXPECT_EQ(length + 2 + 3, row.cx);
    EXPECT_EQ(std::max(mx.itemHeight, mx.fontHeight + 2 * mx.textMargin) + 2 + 2, row.cy);
    EXPECT_EQ(32767, bar.CalcFixedLayout(TRUE, TRUE).cx);

    const SIZE column = bar.CalcFixedLayout(FALSE, FALSE);
    int y = 2;
    for (int i = 0; i < bar.GetItemCount(); ++i) {
        const CXPMenuItem* item = bar.GetItem(i);
        EXPECT_FALSE(item->IsHorizontal());
        EXPECT_EQ(y, item->m_rect.top);
        EXPECT_EQ(item->m_size.cx, item->m_rect.bottom - item->m_rect.top);
        EXPECT_EQ(item->m_size.cy, item->m_rect.right - item->m_rect.left);
        y = item->m_rect.bottom;
    }
    EXPECT_EQ(length + 2 + 3, column.cy);
}

TEST_F(XPMenuBarTest, ButtonsShowSelectionPopupAndInactiveLook) {
    bar.CalcFixedLayout(FALSE, TRUE);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 600, 40);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);

    TapAlt();                                       // item 0 selected
    bar.GetItem(1)->m_state |= MISTATE_PRESSED;     // item 1 drawn with its popup open
    bar.DoPaint(dc);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT), face = ::GetSysColor(COLOR_BTNFACE);
    const RECT& a = bar.GetItem(0)->m_rect;
    const RECT& b = bar.GetItem(1)->m_rect;
    const RECT& c = bar.GetItem(2)->m_rect;
    EXPECT_EQ(highlight, ::GetPixel(dc, a.left, a.top));
    EXPECT_EQ(AdjustColorHLS(highlight, 70, -57), ::GetPixel(dc, a.left + 1, a.top + 1));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), ::GetPixel(dc, b.left, b.top));
    EXPECT_EQ(AdjustColorHLS(face, 20, 0), ::GetPixel(dc, b.left + 1, b.top + 1));
    EXPECT_EQ(face, ::GetPixel(dc, c.left + 1, c.top + 1));
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);

    // The frame's activation turns the entries grey and back.
    ::SendMessageW(frame->m_hWnd, WM_NCACTIVATE, TRUE, 0);
    EXPECT_FALSE(bar.GetItem(0)->m_state & MISTATE_INACTIVE);
    ::SendMessageW(frame->m_hWnd, WM_NCACTIVATE, FALSE, 0);
    for (int i = 0; i < bar.GetItemCount(); ++i) EXPECT_TRUE(bar.GetItem(i)->m_state & MISTATE_INACTIVE) << i;
    ::SendMessageW(frame->m_hWnd, WM_NCACTIVATE, TRUE, 0);
    EXPECT_FALSE(bar.GetItem(3)->m_state & MISTATE_INACTIVE);
}

TEST(XPMenuBarFrameTest, TheBarTakesOverTheFramesMenu) {
    auto* frame = new CFrameWnd;
    HMENU own = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(nullptr, own);
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                                reinterpret_cast<UINT_PTR>(own)));
    {
        CXPMenuBar bar;
        ASSERT_TRUE(bar.CreateBar(frame));
        ASSERT_TRUE(bar.LoadMenuBar(IDR_MAINFRAME));
        EXPECT_EQ(::GetMenuItemCount(own), bar.GetItemCount());
        wchar_t first[64] = {};
        ::GetMenuStringW(own, 0, first, 64, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(first), static_cast<CMenuButton*>(bar.GetItem(0))->Text());
        EXPECT_EQ(own, ::GetMenu(frame->m_hWnd));   // still there until the loop runs

        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        EXPECT_EQ(nullptr, ::GetMenu(frame->m_hWnd));
        EXPECT_EQ(reinterpret_cast<LRESULT>(bar.GetMenu()),
                  ::SendMessageW(frame->m_hWnd, CXPMenuBar::WM_GETMENU, 0, 0));

        // A bar of the frame, laid out along its top edge over the whole width.
        ASSERT_EQ(1u, frame->GetControlBars().size());
        EXPECT_EQ(&bar, frame->GetControlBars()[0]);
        frame->RecalcLayout();
        RECT client, placed;
        ::GetClientRect(frame->m_hWnd, &client);
        ::GetWindowRect(bar.m_hWnd, &placed);
        ::MapWindowPoints(nullptr, frame->m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE).cy, placed.bottom);
        EXPECT_EQ(0, placed.top);
        EXPECT_EQ(client.right, placed.right);
        bar.DestroyWindow();
    }
    ::DestroyMenu(own);
    ::DestroyWindow(frame->m_hWnd);
}

TEST(XPMenuBarMdiTest, MaximisedChildShowsItsIconAndCaptionButtons) {
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, 0));
    HMENU windowMenu = ::CreatePopupMenu();
    CLIENTCREATESTRUCT ccs{windowMenu, 65280};
    HWND client = ::CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 40, 600,
                                    300, frame->m_hWnd, nullptr, ::GetModuleHandleW(nullptr), &ccs);
    ASSERT_NE(nullptr, client);
    {
        CXPMenuBar bar;
        ASSERT_TRUE(bar.CreateBar(frame));
        HMENU menu = ::CreateMenu();
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"ファイル(&F)");
        ASSERT_TRUE(bar.LoadMenuBar(menu));
        ASSERT_EQ(3, bar.GetItemCount());   // icon, the entry, caption buttons
        EXPECT_TRUE(dynamic_cast<CMenuIcon*>(bar.GetItem(0)));
        EXPECT_TRUE(dynamic_cast<CMenuControl*>(bar.GetItem(2)));
        EXPECT_TRUE(bar.GetItem(0)->m_state & MISTATE_HIDDEN);

        // The client hook keeps the bar's menu as the frame menu.
        EXPECT_EQ(reinterpret_cast<LRESULT>(bar.GetMenu()),
                  ::SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(::CreateMenu()), 0));

        // Without a maximised child, Alt selects the first entry after the hidden icon.
        MSG alt{frame->m_hWnd, WM_SYSKEYDOWN, VK_MENU, 1 << 29};
        EXPECT_TRUE(bar.TranslateFrameMessage(&alt));
        alt.message = WM_SYSKEYUP;
        EXPECT_TRUE(bar.TranslateFrameMessage(&alt));
        EXPECT_EQ(1, bar.GetHotIndex());
        bar.SetHotItem(-1, TRACK_NONE);

        WNDCLASSW wc{};
        wc.lpfnWndProc = &::DefMDIChildProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MenuBarTestChild";
        ::RegisterClassW(&wc);
        MDICREATESTRUCTW mcs{};
        mcs.szClass = wc.lpszClassName;
        mcs.szTitle = L"child";
        mcs.hOwner = ::GetModuleHandleW(nullptr);
        mcs.cx = mcs.cy = CW_USEDEFAULT;
        mcs.x = mcs.y = CW_USEDEFAULT;
        mcs.style = WS_MAXIMIZE;
        HWND child = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
        ASSERT_NE(nullptr, child);
        BOOL maximised = FALSE;
        ::SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised));
        ASSERT_TRUE(maximised);
        bar.OnUpdateCmdUI(frame, FALSE);
        EXPECT_FALSE(bar.GetItem(0)->m_state & MISTATE_HIDDEN);
        EXPECT_FALSE(bar.GetItem(2)->m_state & MISTATE_HIDDEN);
        ::SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
        bar.OnUpdateCmdUI(frame, FALSE);
        EXPECT_TRUE(bar.GetItem(0)->m_state & MISTATE_HIDDEN);
        EXPECT_TRUE(bar.GetItem(2)->m_state & MISTATE_HIDDEN);
        bar.DestroyWindow();
    }
    ::DestroyWindow(frame->m_hWnd);
    ::DestroyMenu(windowMenu);
}
