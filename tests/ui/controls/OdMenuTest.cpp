#include "ui/controls/OdMenu.h"
#include "app/ColorUtil.h"
#include "framework/FrameWnd.h"
#include "framework/ToolBar.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

constexpr UINT kPlay = 32806, kStop = 32815, kDefault = 32999, kHistory = 40000;

// A hidden frame with one toolbar whose button kPlay shows a red image.
class FrameWithToolbar {
public:
    FrameWithToolbar() {
        frame = new CFrameWnd;   // deletes itself when destroyed
        EXPECT_TRUE(frame->CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, 0));
        images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
        HDC screen = ::GetDC(nullptr);
        HBITMAP colour = ::CreateCompatibleBitmap(screen, 16, 16);
        HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(dc, colour);
        RECT all{0, 0, 16, 16};
        HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
        ::FillRect(dc, &all, red);
        ::SelectObject(dc, mask);
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));   // all opaque
        ::SelectObject(dc, old);
        ImageList_Add(images, colour, mask);
        ::DeleteObject(red);
        ::DeleteDC(dc);
        ::DeleteObject(colour);
        ::DeleteObject(mask);
        ::ReleaseDC(nullptr, screen);

        EXPECT_TRUE(toolbar.CreateEx(frame));
        toolbar.GetToolBarCtrl().SetImageList(images);
        const UINT ids[] = {kPlay};
        toolbar.SetButtons(ids, 1);
    }
    ~FrameWithToolbar() {
        if (frame->m_hWnd) ::DestroyWindow(frame->m_hWnd);
        ImageList_Destroy(images);
    }
    HWND hwnd() const { return frame->m_hWnd; }

    CFrameWnd* frame = nullptr;
    CToolBar toolbar;
    HIMAGELIST images = nullptr;
};

MENUITEMINFOW ReadItem(HMENU menu, UINT position) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    EXPECT_TRUE(::GetMenuItemInfoW(menu, position, TRUE, &mii));
    return mii;
}

SIZE Measured(HMENU menu, UINT position) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = ReadItem(menu, position).dwItemData;
    EXPECT_TRUE(MeasureOwnerDrawnMenuItem(&mis));
    return SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
}

// Width of `text` as DrawText shows it in the default GUI font, bold when asked.
int TextWidth(const std::wstring& text, bool bold, UINT flags = 0) {
    HDC dc = ::GetDC(nullptr);
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    if (bold) lf.lfWeight = FW_BOLD;
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_SINGLELINE | flags);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    return rc.right - rc.left;
}

int GuiTextHeight() {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

// A memory device context with a bitmap, for looking at drawn pixels.
class Canvas {
public:
    Canvas(int cx, int cy) {
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
        ::ReleaseDC(nullptr, screen);
        old = ::SelectObject(dc, bitmap);
        RECT all{0, 0, cx, cy};
        HBRUSH fill = ::CreateSolidBrush(kBackground);
        ::FillRect(dc, &all, fill);
        ::DeleteObject(fill);
    }
    ~Canvas() {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
    bool AnyPixel(const RECT& area, COLORREF colour) const {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(x, y) == colour) return true;
        return false;
    }
    static constexpr COLORREF kBackground = RGB(1, 2, 3);
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

COLORREF Face(int l) { return AdjustColorHLS(::GetSysColor(COLOR_BTNFACE), l, 0); }
COLORREF Highlight(int l, int s) { return AdjustColorHLS(::GetSysColor(COLOR_HIGHLIGHT), l, s); }

}  // namespace

TEST(OdMenuTest, ItemHeightsAndWidthsFollowTheFontAndTheLongestTexts) {
    struct { int text, item; } heights[] = {{8, 20}, {14, 20}, {15, 21}, {16, 22}};
    for (auto& h : heights) EXPECT_EQ(h.item, OdMenuItemHeight(h.text)) << "text height " << h.text;
    EXPECT_EQ(8, OdMenuSeparatorHeight(12));

    struct { int text, accel, height; UINT width; } rows[] = {
        {120, 40, 20, 202},    // label 120 + accelerator 40 + 42
        {0, 0, 7, 42},         // a separator's data holds only its height
        {120, 300, 20, 417},   // the accelerator field holds at most 255 pixels
    };
    for (auto& r : rows) {
        MEASUREITEMSTRUCT mis{};
        mis.CtlType = ODT_MENU;
        mis.itemData = OdMenuPackItemData(r.text, r.accel, r.height);
        ASSERT_TRUE(MeasureOwnerDrawnMenuItem(&mis));
        EXPECT_EQ(r.width, mis.itemWidth);
        EXPECT_EQ(static_cast<UINT>(r.height), mis.itemHeight);
    }
    MEASUREITEMSTRUCT button{};
    button.CtlType = ODT_BUTTON;
    EXPECT_FALSE(MeasureOwnerDrawnMenuItem(&button));
}

TEST(OdMenuTest, PreparedPopupIsOwnerDrawnMeasuredAndShowsToolbarImages) {
    FrameWithToolbar f;
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, kPlay, L"再生(&P)\tAlt+Space");
    ::AppendMenuW(popup, MF_STRING, kStop, L"停止(&S)");
    ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(popup, MF_STRING, kDefault, L"とても長い既定の項目(&D)");
    ::SetMenuDefaultItem(popup, kDefault, FALSE);

    LRESULT result = 1;
    ASSERT_TRUE(OdMenuOnMessage(f.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0, &result));
    for (UINT i = 0; i < 4; ++i) EXPECT_TRUE(ReadItem(popup, i).fType & MFT_OWNERDRAW) << i;
    EXPECT_TRUE(ReadItem(popup, 2).fType & MFT_SEPARATOR);
    EXPECT_TRUE(OdMenuIsOwnerDraw(popup));

    EXPECT_EQ(L"再生(&P)\tAlt+Space", OdMenuTextMap()[kPlay]);
    EXPECT_EQ(L"停止(&S)", OdMenuTextMap()[kStop]);
    ASSERT_EQ(1u, OdMenuImageMap().count(kPlay));
    EXPECT_EQ(f.images, OdMenuImageMap()[kPlay].imageList);
    EXPECT_EQ(0, OdMenuImageMap()[kPlay].image);
    EXPECT_EQ(0u, OdMenuImageMap().count(kStop));

    const int label = std::max({TextWidth(L"再生(&P)", false), TextWidth(L"停止(&S)", false),
                                TextWidth(L"とても長い既定の項目(&D)", true)});
    const int accel = TextWidth(L"Alt+Space", false, DT_NOPREFIX);
    const int height = OdMenuItemHeight(GuiTextHeight());
    for (UINT i : {0u, 1u, 3u}) {
        const SIZE s = Measured(popup, i);
        EXPECT_EQ(label + accel + 42, s.cx) << i;
        EXPECT_EQ(height, s.cy) << i;
    }
    EXPECT_EQ(SIZE({42, OdMenuSeparatorHeight(GuiTextHeight())}).cy, Measured(popup, 2).cy);
    EXPECT_EQ(42, Measured(popup, 2).cx);

    // Opened again: still owner-drawn, same text, measured the same.
    ASSERT_TRUE(OdMenuOnMessage(f.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0, &result));
    EXPECT_TRUE(ReadItem(popup, 0).fType & MFT_OWNERDRAW);
    EXPECT_EQ(L"再生(&P)\tAlt+Space", OdMenuTextMap()[kPlay]);
    EXPECT_EQ(label + accel + 42, Measured(popup, 0).cx);
    ::DestroyMenu(popup);
}

TEST(OdMenuTest, NewItemUnderAKnownCommandShowsItsCurrentText) {
    FrameWithToolbar f;
    for (const wchar_t* title : {L"01 : 最初のクエリ", L"01 : 新しいクエリ"}) {
        HMENU history = ::CreatePopupMenu();
        ::AppendMenuW(history, MF_STRING, kHistory, title);
        OdMenuInitPopup(history, f.hwnd());
        EXPECT_EQ(title, OdMenuTextMap()[kHistory]);
        ::DestroyMenu(history);
    }
}

TEST(OdMenuTest, SystemMenuAndNonMenuItemsAreLeftToTheDefaultHandling) {
    FrameWithToolbar f;
    ::SetWindowLongPtrW(f.hwnd(), GWL_STYLE, ::GetWindowLongPtrW(f.hwnd(), GWL_STYLE) | WS_SYSMENU);
    HMENU system = ::GetSystemMenu(f.hwnd(), FALSE);
    ASSERT_NE(nullptr, system);
    LRESULT result = 0;
    EXPECT_FALSE(OdMenuOnMessage(f.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system),
                                 MAKELPARAM(0, TRUE), &result));
    EXPECT_FALSE(OdMenuIsOwnerDraw(system));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    EXPECT_FALSE(OdMenuOnMessage(f.hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), &result));
    // A plain (not owner-drawn) popup keeps the system's own mnemonic handling.
    HMENU plain = ::CreatePopupMenu();
    ::AppendMenuW(plain, MF_STRING, kStop, L"停止(&S)");
    EXPECT_FALSE(OdMenuOnMessage(f.hwnd(), WM_MENUCHAR, MAKEWPARAM(L's', MF_POPUP),
                                 reinterpret_cast<LPARAM>(plain), &result));
    ::DestroyMenu(plain);
}

TEST(OdMenuTest, MnemonicsChooseTheirItem) {
    FrameWithToolbar f;
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, 41001, L"Rock && Roll");         // doubled only: no mnemonic
    ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(popup, MF_STRING, 41002, L"&All\tCtrl+&Z");         // "&" after the tab is ignored
    ::AppendMenuW(popup, MF_STRING, 41003, L"R&&B &Blues");
    OdMenuInitPopup(popup, f.hwnd());

    struct { wchar_t key; UINT flags; LRESULT expected; } rows[] = {
        {L'a', MF_POPUP, MAKELRESULT(2, MNC_EXECUTE)},
        {L'A', MF_POPUP, MAKELRESULT(2, MNC_EXECUTE)},
        {L'b', MF_POPUP, MAKELRESULT(3, MNC_EXECUTE)},
        {L'r', MF_POPUP, 0},
        {L'z', MF_POPUP, 0},
        {L'a', MF_POPUP | MF_SYSMENU, 0},   // owner-drawn but a system menu: nothing chosen
    };
    for (auto& r : rows) {
        LRESULT result = -1;
        ASSERT_TRUE(OdMenuOnMessage(f.hwnd(), WM_MENUCHAR, MAKEWPARAM(r.key, r.flags),
                                    reinterpret_cast<LPARAM>(popup), &result));
        EXPECT_EQ(r.expected, result) << static_cast<char>(r.key) << " " << r.flags;
    }
    ::DestroyMenu(popup);
}

TEST(OdMenuTest, ItemsPaintTheirBackgroundCheckBoxAndImage) {
    FrameWithToolbar f;
    const RECT rc{0, 0, 200, 22};
    CImgDesc red{f.images, 0};
    const COLORREF kRed = RGB(255, 0, 0);

    {   // plain: the image strip and the row
        Canvas c(200, 22);
        OdMenuItemLook look;
        look.text = L"停止(&S)";
        OdMenuPaintItem(c.dc, rc, look);
        EXPECT_EQ(Face(20), c.At(5, 1));
        EXPECT_EQ(Face(75), c.At(25, 1));
        EXPECT_EQ(Face(75), c.At(199, 21));
    }
    {   // selected: the tinted highlight box with its frame; the image stands above its shadow
        Canvas c(200, 22);
        OdMenuItemLook look;
        look.text = L"再生(&P)";
        look.selected = true;
        look.image = red;
        OdMenuPaintItem(c.dc, rc, look);
        EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), c.At(0, 0));
        EXPECT_EQ(Highlight(70, -57), c.At(25, 1));
        EXPECT_EQ(kRed, c.At(2, 2));
        EXPECT_EQ(Highlight(50, -66), c.At(18, 18));
    }
    {   // disabled: grey shape in place of the image, never the highlight
        Canvas c(200, 22);
        OdMenuItemLook look;
        look.text = L"再生(&P)";
        look.selected = true;
        look.disabled = true;
        look.image = red;
        OdMenuPaintItem(c.dc, rc, look);
        EXPECT_EQ(Face(20), c.At(1, 1));
        EXPECT_EQ(Face(-27), c.At(10, 10));
        EXPECT_FALSE(c.AnyPixel(RECT{0, 0, 22, 22}, kRed));
    }
    {   // checked without image: tinted box with the system's check mark
        Canvas c(200, 22);
        OdMenuItemLook look;
        look.text = L"リピート(&R)";
        look.checked = true;
        OdMenuPaintItem(c.dc, rc, look);
        EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), c.At(1, 10));
        EXPECT_EQ(Highlight(70, -57), c.At(2, 2));
        EXPECT_TRUE(c.AnyPixel(RECT{5, 3, 20, 21}, RGB(0, 0, 0)));
    }
    {   // checked with image: the image sits in the box, no check mark
        Canvas c(200, 22);
        OdMenuItemLook look;
        look.text = L"再生(&P)";
        look.checked = true;
        look.image = red;
        OdMenuPaintItem(c.dc, rc, look);
        EXPECT_EQ(kRed, c.At(3, 3));
        EXPECT_EQ(kRed, c.At(18, 18));
        EXPECT_FALSE(c.AnyPixel(RECT{3, 3, 19, 19}, RGB(0, 0, 0)));
    }
    {   // separator: one line from x = 30 at the middle
        Canvas c(200, 8);
        OdMenuItemLook look;
        look.separator = true;
        OdMenuPaintItem(c.dc, RECT{0, 0, 200, 8}, look);
        EXPECT_EQ(Face(-18), c.At(30, 4));
        EXPECT_EQ(Face(-18), c.At(198, 4));
        EXPECT_EQ(Face(75), c.At(29, 4));
    }
}

TEST(OdMenuTest, DrawItemReadsTheMenuAndTouchesOnlyTheItemRectangle) {
    FrameWithToolbar f;
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, kStop, L"停止(&S)");
    ::AppendMenuW(popup, MF_STRING | MF_GRAYED | MF_CHECKED, kPlay, L"再生(&P)");
    OdMenuInitPopup(popup, f.hwnd());

    Canvas c(200, 60);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = kPlay;
    dis.itemState = ODS_SELECTED;
    dis.hwndItem = reinterpret_cast<HWND>(popup);
    dis.hDC = c.dc;
    dis.rcItem = RECT{0, 20, 200, 42};
    LRESULT result = 0;
    ASSERT_TRUE(OdMenuOnMessage(f.hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), &result));
    // Grey and checked, read from the menu: the disabled check box, no highlight.
    EXPECT_EQ(AdjustColorHLS(::GetSysColor(COLOR_BTNFACE), 73, 0), c.At(2, 22));
    EXPECT_EQ(Face(75), c.At(100, 21));
    EXPECT_EQ(Canvas::kBackground, c.At(100, 19));
    EXPECT_EQ(Canvas::kBackground, c.At(100, 42));
    ::DestroyMenu(popup);
}
