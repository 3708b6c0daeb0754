#pragma once
#include "framework/PopupMenu.h"
#include <gtest/gtest.h>
#include <windows.h>

// Stands in for a popup menu's loop: sends the menu's owner what the system sends while a
// popup opens (WM_INITMENUPOPUP, then WM_MEASUREITEM and WM_DRAWITEM of the first item) and
// one mnemonic key (WM_MENUCHAR), records what came back, and chooses nothing.
class MenuLoopPresenter : public IPopupMenuPresenter {
public:
    explicit MenuLoopPresenter(wchar_t mnemonic) : m_mnemonic(mnemonic) {
        m_previous = AfxSetPopupMenuPresenter(this);
    }
    ~MenuLoopPresenter() override { AfxSetPopupMenuPresenter(m_previous); }
    MenuLoopPresenter(const MenuLoopPresenter&) = delete;
    MenuLoopPresenter& operator=(const MenuLoopPresenter&) = delete;

    BOOL Track(HMENU menu, UINT, int, int, HWND owner, const TPMPARAMS*) override {
        ++shown;
        ::SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        if (!::GetMenuItemInfoW(menu, 0, TRUE, &info)) return 0;
        ownerDrawn = (info.fType & MFT_OWNERDRAW) != 0;

        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = info.wID;
        measure.itemData = info.dwItemData;
        measured = ::SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)) != 0 &&
                   measure.itemWidth > 0 && measure.itemHeight > 0;

        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 300, 40);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = info.wID;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hwndItem = reinterpret_cast<HWND>(menu);
        draw.hDC = dc;
        draw.rcItem = RECT{0, 0, 300, 40};
        draw.itemData = info.dwItemData;
        drawn = ::SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)) != 0;
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);

        menuChar = ::SendMessageW(owner, WM_MENUCHAR, MAKEWPARAM(m_mnemonic, MF_POPUP), reinterpret_cast<LPARAM>(menu));
        return 0;
    }

    // The popup opened once, its first item was made owner-drawn, measured and drawn, and the
    // mnemonic chose the item at `position`.
    ::testing::AssertionResult OpenedOwnerDrawnAndChose(int position) const {
        if (shown != 1) return ::testing::AssertionFailure() << "shown " << shown << " times";
        if (!ownerDrawn) return ::testing::AssertionFailure() << "not owner-drawn";
        if (!measured) return ::testing::AssertionFailure() << "not measured";
        if (!drawn) return ::testing::AssertionFailure() << "not drawn";
        if (menuChar != MAKELRESULT(position, MNC_EXECUTE))
            return ::testing::AssertionFailure() << "the mnemonic answered " << std::hex << menuChar;
        return ::testing::AssertionSuccess();
    }

    int shown = 0;
    bool ownerDrawn = false;
    bool measured = false;
    bool drawn = false;
    LRESULT menuChar = 0;

private:
    wchar_t m_mnemonic;
    IPopupMenuPresenter* m_previous = nullptr;
};
