#pragma once
#include <windows.h>
#include <string>

class CXPMenuBar;

// Style bits of a menu-bar item.
constexpr UINT MISTYLE_TRACKABLE = 0x01;   // selectable by mouse and keyboard
constexpr UINT MISTYLE_WRAPPABLE = 0x02;   // may start a new row
// State bits of a menu-bar item.
constexpr UINT MISTATE_HOT = 0x01;          // selected
constexpr UINT MISTATE_PRESSED = 0x02;      // its popup is open
constexpr UINT MISTATE_HORIZONTAL = 0x04;   // laid out in a row
constexpr UINT MISTATE_HIDDEN = 0x08;
constexpr UINT MISTATE_WRAP = 0x10;         // starts a new row
constexpr UINT MISTATE_INACTIVE = 0x20;     // drawn grey: the frame is inactive

// Fonts and sizes shared by every menu bar, made once for the process from the system's
// menu font.
struct CXPMenuMetrics {
    HFONT horizontalFont = nullptr;
    HFONT verticalFont = nullptr;   // the same font turned to run downwards
    int itemHeight = 0;             // the menu height, or the small-icon height when larger
    int fontHeight = 0;
    int textMargin = 0;             // (item height - font height) / 2
    int borderX2 = 0;               // twice the system border width and height
    int borderY2 = 0;
};
const CXPMenuMetrics& CreateMenuBarFonts();

// One item of the menu bar. Its rectangle is in bar coordinates; its size is the horizontal
// one (a vertical bar swaps width and height).
class CXPMenuItem {
public:
    virtual ~CXPMenuItem() = default;
    virtual void Draw(HDC dc) = 0;
    // Places the item at (x, y) in a row (horizontal) or a column; returns the coordinate
    // along the row or column where the next item starts.
    virtual int Layout(int x, int y, bool horizontal);
    // Opens what the item stands for; returns when it has closed.
    virtual void TrackPopup(CXPMenuBar* bar, HWND owner) = 0;

    bool IsSelectable() const { return (m_style & MISTYLE_TRACKABLE) && !(m_state & MISTATE_HIDDEN); }
    bool IsHorizontal() const { return (m_state & MISTATE_HORIZONTAL) != 0; }

    UINT m_style = 0;
    UINT m_state = 0;
    RECT m_rect{};
    SIZE m_size{};
    wchar_t m_mnemonic = 0;   // upper case; 0 for none
};

// One top-level entry of the bar's menu.
class CMenuButton : public CXPMenuItem {
public:
    // `popup` null means a plain command entry with identifier `command`.
    CMenuButton(const std::wstring& text, HMENU popup, UINT command);

    void Draw(HDC dc) override;
    void TrackPopup(CXPMenuBar* bar, HWND owner) override;

    const std::wstring& Text() const { return m_text; }
    HMENU Popup() const { return m_popup; }
    UINT Command() const { return m_command; }

    // The mnemonic of an entry text: the character after the first "&", the first character
    // when there is no "&", none when "&" ends the text. Upper case.
    static wchar_t MnemonicOf(const std::wstring& text);

private:
    std::wstring m_text;          // with its "&"
    HMENU m_popup = nullptr;
    UINT m_command = static_cast<UINT>(-1);   // -1 when the entry has a popup
    int m_underlineStart = 0;     // the mnemonic's underline along vertical text
    int m_underlineEnd = 0;
};

// The maximised MDI child's small icon; opens the child's system menu.
class CMenuIcon : public CXPMenuItem {
public:
    CMenuIcon();
    void SetChild(HWND child) { m_child = child; }
    void Draw(HDC dc) override;
    void TrackPopup(CXPMenuBar* bar, HWND owner) override;

private:
    HWND m_child = nullptr;
};

// The maximised MDI child's minimise, restore and close buttons.
class CMenuControl : public CXPMenuItem {
public:
    CMenuControl();
    void SetChild(HWND child) { m_child = child; }
    void Draw(HDC dc) override;
    void TrackPopup(CXPMenuBar* bar, HWND owner) override;
    // Posts the system command of the button under `pt` (bar coordinates) to the child.
    bool OnClick(POINT pt);

private:
    RECT ButtonRect(int index) const;
    HWND m_child = nullptr;
};
