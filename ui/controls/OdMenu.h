#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <unordered_map>
#include <vector>

// Owner-drawn popup menus: a light image strip on the left holding the command's toolbar
// image, a tinted highlight box, check boxes, and the accelerator text at the right. Popups
// stay ordinary resource menus; the windows that own them call these routines from
// WM_INITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR.

// Where a command's image lives: a toolbar's image list and the index in it.
struct CImgDesc {
    HIMAGELIST imageList = nullptr;
    int image = -1;
};

// Process-wide maps from command identifier to the item's text (as in the menu, "\t" and
// accelerator included) and to its toolbar image. Entries live for the whole process.
std::unordered_map<UINT, std::wstring>& OdMenuTextMap();
std::unordered_map<UINT, CImgDesc>& OdMenuImageMap();

// Item and separator heights for a font whose text height is `textHeight`.
int OdMenuItemHeight(int textHeight);
int OdMenuSeparatorHeight(int textHeight);
// The item data of a prepared item; widths beyond their fields are clamped.
DWORD OdMenuPackItemData(int maxTextWidth, int maxAccelWidth, int itemHeight);

// Makes the items of `popup` owner-drawn and measures them; `owner` is the window that
// receives the menu's messages. Never call it for a system menu.
void OdMenuInitPopup(HMENU popup, HWND owner);
// WM_MEASUREITEM: fills in a menu item's size and returns true; false for other controls.
bool MeasureOwnerDrawnMenuItem(MEASUREITEMSTRUCT* mis);
// WM_DRAWITEM: draws a menu item and returns true; false for other controls.
bool OdMenuDrawItem(const DRAWITEMSTRUCT* dis);
// WM_MENUCHAR of an owner-drawn popup: MNC_EXECUTE with the position of the item whose
// mnemonic is `ch`, or 0.
LRESULT OdMenuMenuChar(HMENU popup, wchar_t ch);
// Whether the popup's first item is owner-drawn.
bool OdMenuIsOwnerDraw(HMENU popup);

// The four messages in one place, for a window's handlers: WM_INITMENUPOPUP (call it after
// the default handling; the system menu is left alone), WM_MEASUREITEM and WM_DRAWITEM of
// menu items, and WM_MENUCHAR. False means: give the message the default handling.
bool OdMenuOnMessage(HWND owner, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

// The toolbars whose images owner-drawn menus show, for popups owned by `owner`: those of
// the owner's frame (the owner itself or the nearest frame above it), in the frame's order.
std::vector<HWND> OdMenuFrameToolbars(HWND owner);
// The image of command `id` on `toolbar`, when it has such a button with an image.
bool OdMenuToolbarImage(HWND toolbar, UINT id, CImgDesc& found);

// What one item looks like; the drawing routine's input.
struct OdMenuItemLook {
    std::wstring text;          // label, "\t", accelerator
    bool separator = false;
    bool selected = false;
    bool disabled = false;
    bool checked = false;
    bool isDefault = false;
    CImgDesc image;
};
// Draws one item into `dc` over `rc` with the default GUI font.
void OdMenuPaintItem(HDC dc, const RECT& rc, const OdMenuItemLook& look);
