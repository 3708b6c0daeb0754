// The system check-mark bitmap is one of the OEM resources.
#define OEMRESOURCE
#include "ui/controls/OdMenu.h"
#include "app/ColorUtil.h"
#include "framework/FrameWnd.h"
#include "framework/ToolBar.h"
#include "ui/controls/BufferDC.h"
#include "ui/controls/GdiSelectors.h"
#include <algorithm>

namespace {

constexpr int kTextBufferChars = 256;   // item texts are read up to 255 characters

// One item as the menu holds it.
struct ItemInfo {
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU subMenu = nullptr;
    ULONG_PTR data = 0;
    std::wstring text;
};

bool ReadItem(HMENU menu, UINT item, BOOL byPosition, ItemInfo& info) {
    wchar_t buffer[kTextBufferChars] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    mii.dwTypeData = buffer;
    mii.cch = kTextBufferChars;
    if (!::GetMenuItemInfoW(menu, item, byPosition, &mii)) return false;
    info.type = mii.fType;
    info.state = mii.fState;
    info.id = mii.wID;
    info.subMenu = mii.hSubMenu;
    info.data = mii.dwItemData;
    info.text = (mii.fType & MFT_SEPARATOR) ? std::wstring() : std::wstring(buffer);
    return true;
}

std::wstring LabelOf(const std::wstring& text) { return text.substr(0, text.find(L'\t')); }

std::wstring AcceleratorOf(const std::wstring& text) {
    const size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

int TextWidth(HDC dc, const std::wstring& text, UINT prefixFlag) {
    if (text.empty()) return 0;
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
                DT_CALCRECT | DT_SINGLELINE | prefixFlag);
    return rc.right - rc.left;
}

// The frame whose toolbars give the images: the owner when it is a frame, else the first
// frame among its parents.
CFrameWnd* OwnerFrame(HWND owner) {
    for (HWND h = owner; h; h = ::GetParent(h)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h))) return frame;
    }
    return nullptr;
}

void FillRect(HDC dc, const RECT& rc, COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);
}

// A rectangle outlined with a one-pixel pen and filled with a solid brush.
void FramedBox(HDC dc, const RECT& rc, COLORREF frame, COLORREF fill) {
    CPenSelector pen(dc, frame);
    CBrushSelector brush(dc, fill);
    ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
}

// The label from x = 30 and the accelerator right-aligned 12 pixels in from the right edge,
// in the device context's font (bold for the default item).
void DrawTexts(HDC dc, const RECT& rc, const std::wstring& label, const std::wstring& accel,
               COLORREF colour, bool bold) {
    CBoldFontSelector weight(bold, dc);
    const COLORREF oldColour = ::SetTextColor(dc, colour);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT text = rc;
    text.left = rc.left + 30;
    ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!accel.empty()) {
        RECT right = rc;
        right.right = rc.right - 12;
        ::DrawTextW(dc, accel.c_str(), static_cast<int>(accel.size()), &right,
                    DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
}

void DrawMonoImage(HDC dc, const CImgDesc& img, int x, int y, COLORREF colour) {
    HICON icon = ImageList_GetIcon(img.imageList, img.image, ILD_NORMAL);
    if (!icon) return;
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::DrawStateW(dc, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 16, 16,
                 DST_ICON | DSS_MONO);
    ::DeleteObject(brush);
    ::DestroyIcon(icon);
}

// The system's check mark, black on whatever lies below it.
void DrawCheckMark(HDC dc, int x, int y, int maxWidth) {
    HBITMAP mark = ::LoadBitmapW(nullptr, MAKEINTRESOURCEW(OBM_CHECK));
    if (!mark) return;
    BITMAP bm{};
    ::GetObjectW(mark, sizeof bm, &bm);
    HDC src = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(src, mark);
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    ::BitBlt(dc, x, y, std::min<int>(bm.bmWidth, maxWidth), bm.bmHeight, src, 0, 0, SRCAND);
    ::SetBkColor(dc, oldBk);
    ::SetTextColor(dc, oldText);
    ::SelectObject(src, old);
    ::DeleteDC(src);
    ::DeleteObject(mark);
}

}  // namespace

std::unordered_map<UINT, std::wstring>& OdMenuTextMap() {
    static std::unordered_map<UINT, std::wstring> map;
    return map;
}

std::unordered_map<UINT, CImgDesc>& OdMenuImageMap() {
    static std::unordered_map<UINT, CImgDesc> map;
    return map;
}

int OdMenuItemHeight(int textHeight) { return textHeight + 2 > 16 ? textHeight + 6 : 20; }

int OdMenuSeparatorHeight(int textHeight) { return textHeight / 2 + 2; }

DWORD OdMenuPackItemData(int maxTextWidth, int maxAccelWidth, int itemHeight) {
    const DWORD text = static_cast<DWORD>(std::clamp(maxTextWidth, 0, 0xFFFF));
    const DWORD accel = static_cast<DWORD>(std::clamp(maxAccelWidth, 0, 0xFF));
    const DWORD height = static_cast<DWORD>(std::clamp(itemHeight, 0, 0xFF));
    return text << 16 | accel << 8 | height;
}

std::vector<HWND> OdMenuFrameToolbars(HWND owner) {
    std::vector<HWND> toolbars;
    if (CFrameWnd* frame = OwnerFrame(owner)) {
        for (CControlBar* bar : frame->GetControlBars()) {
            auto* toolbar = dynamic_cast<CToolBar*>(bar);
            if (toolbar && toolbar->GetToolBarCtrl().m_hWnd) toolbars.push_back(toolbar->GetToolBarCtrl().m_hWnd);
        }
    }
    return toolbars;
}

bool OdMenuToolbarImage(HWND toolbar, UINT id, CImgDesc& found) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE | TBIF_COMMAND;
    const LRESULT index = ::SendMessageW(toolbar, TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info));
    if (index == -1 || static_cast<UINT>(info.idCommand) != id || info.iImage < 0) return false;
    found.imageList = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    found.image = info.iImage;
    return found.imageList != nullptr;
}

void OdMenuInitPopup(HMENU popup, HWND owner) {
    const int count = ::GetMenuItemCount(popup);
    if (count <= 0) return;

    CFrameWnd* ownerFrame = OwnerFrame(owner);
    HWND frame = ownerFrame ? ownerFrame->m_hWnd : owner;
    HDC dc = ::GetDC(frame);
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    const int itemHeight = OdMenuItemHeight(tm.tmHeight);
    const int separatorHeight = OdMenuSeparatorHeight(tm.tmHeight);

    auto& texts = OdMenuTextMap();
    auto& images = OdMenuImageMap();
    std::vector<HWND> toolbars;
    bool toolbarsRead = false;

    // Switch new items to owner-drawn and remember their texts and images. An item made
    // anew under a known command (the history menus) replaces the stored text.
    std::vector<ItemInfo> items(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        ItemInfo& item = items[static_cast<size_t>(i)];
        if (!ReadItem(popup, static_cast<UINT>(i), TRUE, item)) continue;
        if (item.type & MFT_OWNERDRAW) continue;
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE;
        mii.fType = item.type | MFT_OWNERDRAW;
        ::SetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &mii);
        item.type |= MFT_OWNERDRAW;
        if (item.type & MFT_SEPARATOR) continue;
        texts[item.id] = item.text;
        if (!toolbarsRead) {
            toolbars = OdMenuFrameToolbars(owner);
            toolbarsRead = true;
        }
        CImgDesc image;
        bool hasImage = false;
        for (HWND bar : toolbars) {
            if (OdMenuToolbarImage(bar, item.id, image)) {
                hasImage = true;
                break;
            }
        }
        if (hasImage)
            images[item.id] = image;
        else
            images.erase(item.id);
    }

    // The widest label and accelerator set the popup's width.
    int maxText = 0, maxAccel = 0;
    for (const ItemInfo& item : items) {
        if (item.type & MFT_SEPARATOR) continue;
        auto found = texts.find(item.id);
        if (found == texts.end()) continue;
        CBoldFontSelector weight((item.state & MFS_DEFAULT) != 0, dc);
        maxText = std::max(maxText, TextWidth(dc, LabelOf(found->second), 0));
        maxAccel = std::max(maxAccel, TextWidth(dc, AcceleratorOf(found->second), DT_NOPREFIX));
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(frame, dc);

    const DWORD packed = OdMenuPackItemData(maxText, maxAccel, itemHeight);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_DATA;
        mii.dwItemData = (items[static_cast<size_t>(i)].type & MFT_SEPARATOR) ? separatorHeight : packed;
        ::SetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &mii);
    }
}

bool MeasureOwnerDrawnMenuItem(MEASUREITEMSTRUCT* mis) {
    if (!mis || mis->CtlType != ODT_MENU) return false;
    const DWORD data = static_cast<DWORD>(mis->itemData);
    mis->itemHeight = data & 0xFF;
    mis->itemWidth = (data >> 16) + ((data >> 8) & 0xFF) + 42;
    return true;
}

void OdMenuPaintItem(HDC dc, const RECT& rc, const OdMenuItemLook& look) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF line = AdjustColorHLS(face, -18, 0);

    // Background: the highlight box, or the image strip and the row.
    if (look.selected && !look.disabled) {
        FramedBox(dc, rc, highlight, AdjustColorHLS(highlight, 70, -57));
    } else {
        RECT strip = rc;
        strip.right = std::min<LONG>(rc.left + 22, rc.right);
        FillRect(dc, strip, AdjustColorHLS(face, 20, 0));
        RECT row = rc;
        row.left = strip.right;
        FillRect(dc, row, AdjustColorHLS(face, 75, 0));
    }

    if (look.separator) {
        CPenSelector pen(dc, line);
        const int y = (rc.top + rc.bottom) / 2;
        ::MoveToEx(dc, rc.left + 30, y, nullptr);
        ::LineTo(dc, rc.right - 1, y);
        return;
    }

    const std::wstring label = LabelOf(look.text);
    const std::wstring accel = AcceleratorOf(look.text);
    if (!label.empty()) {
        HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        DrawTexts(dc, rc, label, accel, look.disabled ? line : ::GetSysColor(COLOR_WINDOWTEXT), look.isDefault);
        ::SelectObject(dc, oldFont);
    }

    COLORREF boxColour = 0;
    if (look.checked) {
        boxColour = look.disabled   ? AdjustColorHLS(face, 73, 0)
                    : look.selected ? AdjustColorHLS(highlight, 50, -50)
                                    : AdjustColorHLS(highlight, 70, -57);
        FramedBox(dc, RECT{rc.left + 1, rc.top + 1, rc.left + 20, rc.bottom - 1}, highlight, boxColour);
    }

    const bool hasImage = look.image.imageList && look.image.image != -1;
    if (hasImage) {
        if (look.disabled || (look.selected && !look.checked)) {
            const int shift = look.disabled ? 0 : 1;
            DrawMonoImage(dc, look.image, rc.left + 3 + shift, rc.top + 3 + shift,
                          look.disabled ? AdjustColorHLS(face, -27, 0) : AdjustColorHLS(highlight, 50, -66));
        }
        if (!look.disabled) {
            const int at = (!look.selected || look.checked) ? 3 : 2;
            ImageList_Draw(look.image.imageList, look.image.image, dc, rc.left + at, rc.top + at,
                           ILD_TRANSPARENT);
        }
    } else if (look.checked) {
        DrawCheckMark(dc, rc.left + 5, rc.top + 3, 22 - 5);
    }
}

bool OdMenuDrawItem(const DRAWITEMSTRUCT* dis) {
    if (!dis || dis->CtlType != ODT_MENU) return false;
    HMENU menu = reinterpret_cast<HMENU>(dis->hwndItem);
    ItemInfo item;
    if (!ReadItem(menu, dis->itemID, FALSE, item)) return true;

    OdMenuItemLook look;
    look.separator = (item.type & MFT_SEPARATOR) != 0;
    look.selected = (dis->itemState & ODS_SELECTED) != 0;
    look.disabled = (item.state & MFS_GRAYED) != 0;
    look.checked = (item.state & MFS_CHECKED) != 0;
    look.isDefault = (item.state & MFS_DEFAULT) != 0;
    if (!look.separator) {
        auto text = OdMenuTextMap().find(item.id);
        if (text != OdMenuTextMap().end()) look.text = text->second;
        auto image = OdMenuImageMap().find(item.id);
        if (image != OdMenuImageMap().end()) look.image = image->second;
    }

    // Drawn off screen and copied in one transfer, so a moving highlight does not flicker.
    if (::IsRectEmpty(&dis->rcItem)) return true;
    CBufferDC buffer(dis->rcItem, dis->hDC);
    OdMenuPaintItem(buffer, dis->rcItem, look);
    return true;
}

namespace {

// The last mnemonic character of a label ("&&" is a literal ampersand), or 0.
wchar_t LastMnemonic(const std::wstring& label) {
    wchar_t found = 0;
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != L'&') continue;
        if (label[i + 1] != L'&') found = label[i + 1];
        ++i;   // skip the character after "&" (the second "&" of a pair included)
    }
    return found;
}

wchar_t UpperChar(wchar_t ch) {
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
}

}  // namespace

LRESULT OdMenuMenuChar(HMENU popup, wchar_t ch) {
    const wchar_t key = UpperChar(ch);
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        ItemInfo item;
        if (!ReadItem(popup, static_cast<UINT>(i), TRUE, item) || (item.type & MFT_SEPARATOR)) continue;
        auto text = OdMenuTextMap().find(item.id);
        if (text == OdMenuTextMap().end()) continue;
        const wchar_t mnemonic = LastMnemonic(LabelOf(text->second));
        if (mnemonic && UpperChar(mnemonic) == key) return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

bool OdMenuIsOwnerDraw(HMENU popup) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    if (!::GetMenuItemInfoW(popup, 0, TRUE, &mii)) return false;
    return (mii.fType & MFT_OWNERDRAW) != 0;
}

bool OdMenuOnMessage(HWND owner, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    LRESULT ignored = 0;
    if (!result) result = &ignored;
    switch (msg) {
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam)) return false;   // the window's system menu keeps its own look
        OdMenuInitPopup(reinterpret_cast<HMENU>(wParam), owner);
        *result = 0;
        return true;
    case WM_MEASUREITEM:
        if (!MeasureOwnerDrawnMenuItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return false;
        *result = TRUE;
        return true;
    case WM_DRAWITEM:
        if (!OdMenuDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return false;
        *result = TRUE;
        return true;
    case WM_MENUCHAR: {
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        if (!OdMenuIsOwnerDraw(menu)) return false;
        const UINT kind = HIWORD(wParam) & (MF_POPUP | MF_SYSMENU);
        *result = kind == MF_POPUP ? OdMenuMenuChar(menu, static_cast<wchar_t>(LOWORD(wParam))) : 0;
        return true;
    }
    default:
        return false;
    }
}
