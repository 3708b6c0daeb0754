#include "ui/controls/XPMenuItem.h"
#include "ui/controls/GdiSelectors.h"
#include "ui/controls/XPMenuBar.h"
#include "app/ColorUtil.h"
#include <cstddef>
#include <cstdlib>

namespace {

CXPMenuMetrics MakeMetrics() {
    CXPMenuMetrics m;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
        // Systems before the padded border know the record without its last field.
        ncm = NONCLIENTMETRICSW{};
        ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof ncm.lfMenuFont, &ncm.lfMenuFont);
            ncm.iMenuHeight = ::GetSystemMetrics(SM_CYMENU);
        }
    }
    LOGFONTW lf = ncm.lfMenuFont;
    m.horizontalFont = ::CreateFontIndirectW(&lf);
    lf.lfEscapement = -900;
    lf.lfOrientation = -900;
    m.verticalFont = ::CreateFontIndirectW(&lf);

    m.itemHeight = ncm.iMenuHeight;
    const int icon = ::GetSystemMetrics(SM_CYSMICON);
    if (icon > m.itemHeight) m.itemHeight = icon;
    m.fontHeight = std::abs(lf.lfHeight);
    if (m.fontHeight == 0) {   // a font of the default height: ask the font itself
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, m.horizontalFont);
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        m.fontHeight = tm.tmHeight;
    }
    m.textMargin = (m.itemHeight - m.fontHeight) / 2;
    m.borderX2 = ::GetSystemMetrics(SM_CXBORDER) * 2;
    m.borderY2 = ::GetSystemMetrics(SM_CYBORDER) * 2;
    return m;
}

// The entry text as shown: single "&" removed, "&&" kept as one "&".
std::wstring WithoutPrefix(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&') {
            if (i + 1 < text.size() && text[i + 1] == L'&') out += L'&';
            ++i;
            if (i < text.size() && text[i] != L'&') out += text[i];
            continue;
        }
        out += text[i];
    }
    return out;
}

int ExtentOf(HDC dc, const std::wstring& text) {
    SIZE size{};
    if (!text.empty()) ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

wchar_t Upper(wchar_t ch) {
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
        ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
}

}  // namespace

const CXPMenuMetrics& CreateMenuBarFonts() {
    static const CXPMenuMetrics metrics = MakeMetrics();
    return metrics;
}

int CXPMenuItem::Layout(int x, int y, bool horizontal) {
    if (m_state & MISTATE_HIDDEN) {
        m_rect = RECT{x, y, x, y};
        return horizontal ? x : y;
    }
    if (horizontal) {
        m_state |= MISTATE_HORIZONTAL;
        m_rect = RECT{x, y, x + m_size.cx, y + m_size.cy};
        return m_rect.right;
    }
    m_state &= ~MISTATE_HORIZONTAL;
    m_rect = RECT{x, y, x + m_size.cy, y + m_size.cx};
    return m_rect.bottom;
}

wchar_t CMenuButton::MnemonicOf(const std::wstring& text) {
    if (text.empty()) return 0;
    const size_t amp = text.find(L'&');
    if (amp == std::wstring::npos) return Upper(text[0]);
    if (amp + 1 >= text.size()) return 0;
    return Upper(text[amp + 1]);
}

CMenuButton::CMenuButton(const std::wstring& text, HMENU popup, UINT command)
    : m_text(text), m_popup(popup), m_command(popup ? static_cast<UINT>(-1) : command) {
    m_style = MISTYLE_TRACKABLE | MISTYLE_WRAPPABLE;
    m_mnemonic = MnemonicOf(text);

    const CXPMenuMetrics& mx = CreateMenuBarFonts();
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, mx.horizontalFont);
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_CALCRECT | DT_SINGLELINE);
    m_size.cx = (rc.right - rc.left) + 10;
    m_size.cy = mx.fontHeight + 2 * mx.textMargin;
    // Along vertical text the underline runs under the mnemonic: from the end of the text
    // before "&" to the end of the text up to the mnemonic.
    const size_t amp = text.find(L'&');
    if (amp != std::wstring::npos && amp + 1 < text.size()) {
        const std::wstring before = text.substr(0, amp);
        m_underlineStart = ExtentOf(dc, WithoutPrefix(before)) + 5;
        m_underlineEnd = ExtentOf(dc, WithoutPrefix(before) + text[amp + 1]) + 5;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
}

void CMenuButton::Draw(HDC dc) {
    if (m_state & MISTATE_HIDDEN) return;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    FillSolidRect(dc, m_rect, face);
    if (m_state & MISTATE_HOT) {
        const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
        FillSolidRect(dc, m_rect, AdjustColorHLS(highlight, 70, -57));
        FrameSolidRect(dc, m_rect, highlight);
    } else if (m_state & MISTATE_PRESSED) {
        FillSolidRect(dc, m_rect, AdjustColorHLS(face, 20, 0));
        FrameSolidRect(dc, m_rect, ::GetSysColor(COLOR_BTNSHADOW));
    }

    const CXPMenuMetrics& mx = CreateMenuBarFonts();
    const COLORREF colour = ::GetSysColor((m_state & MISTATE_INACTIVE) ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
    const COLORREF oldColour = ::SetTextColor(dc, colour);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    if (IsHorizontal()) {
        HGDIOBJ old = ::SelectObject(dc, mx.horizontalFont);
        RECT rc = m_rect;
        ::DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &rc,
                    DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        ::SelectObject(dc, old);
    } else {
        const int oldGraphics = ::SetGraphicsMode(dc, GM_ADVANCED);
        HGDIOBJ old = ::SelectObject(dc, mx.verticalFont);
        const std::wstring shown = WithoutPrefix(m_text);
        ::TextOutW(dc, m_rect.right - mx.textMargin, m_rect.top + 5, shown.c_str(), static_cast<int>(shown.size()));
        ::SelectObject(dc, old);
        ::SetGraphicsMode(dc, oldGraphics);
        if (m_underlineEnd > m_underlineStart) {
            HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
            HGDIOBJ oldPen = ::SelectObject(dc, pen);
            const int x = m_rect.left + mx.textMargin;
            ::MoveToEx(dc, x, m_rect.top + m_underlineStart, nullptr);
            ::LineTo(dc, x, m_rect.top + m_underlineEnd);
            ::SelectObject(dc, oldPen);
            ::DeleteObject(pen);
        }
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
}

void CMenuButton::TrackPopup(CXPMenuBar* bar, HWND owner) {
    if (!m_popup) {
        ::SendMessageW(owner, WM_COMMAND, m_command, reinterpret_cast<LPARAM>(bar->GetSafeHwnd()));
        return;
    }
    RECT rc = m_rect;
    ::MapWindowPoints(bar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    TPMPARAMS tpm{};
    tpm.cbSize = sizeof tpm;
    int x, y;
    if (IsHorizontal()) {
        x = rc.left - 1;
        y = rc.bottom;
        tpm.rcExclude = RECT{desktop.left, desktop.top, desktop.right, rc.bottom + 1};
    } else {
        x = rc.right + 1;
        y = rc.top - 1;
        tpm.rcExclude = desktop;
    }
    bar->TrackMenu(m_popup, 0, x, y, owner, &tpm);
}

CMenuIcon::CMenuIcon() {
    m_style = MISTYLE_TRACKABLE;
    m_state = MISTATE_HIDDEN;
    const CXPMenuMetrics& mx = CreateMenuBarFonts();
    m_size = SIZE{::GetSystemMetrics(SM_CXSMICON) + 2, mx.itemHeight};
}

void CMenuIcon::Draw(HDC dc) {
    if ((m_state & MISTATE_HIDDEN) || !m_child) return;
    HICON icon = reinterpret_cast<HICON>(::SendMessageW(m_child, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(m_child, GCLP_HICONSM));
    if (!icon) return;
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    ::DrawIconEx(dc, m_rect.left + 1, m_rect.top + (m_rect.bottom - m_rect.top - cy) / 2, icon, cx, cy, 0,
                 nullptr, DI_NORMAL);
}

void CMenuIcon::TrackPopup(CXPMenuBar* bar, HWND) {
    if (!m_child) return;
    HMENU system = ::GetSystemMenu(m_child, FALSE);
    if (!system) return;
    RECT rc = m_rect;
    ::MapWindowPoints(bar->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    const UINT command = bar->TrackMenu(system, TPM_RETURNCMD, rc.left, rc.bottom, m_child, nullptr);
    if (command) ::PostMessageW(m_child, WM_SYSCOMMAND, command, 0);
}

CMenuControl::CMenuControl() {
    m_state = MISTATE_HIDDEN;
    const CXPMenuMetrics& mx = CreateMenuBarFonts();
    m_size = SIZE{3 * (mx.itemHeight - 2) + 2, mx.itemHeight};
}

RECT CMenuControl::ButtonRect(int index) const {
    const int side = (IsHorizontal() ? m_rect.bottom - m_rect.top : m_rect.right - m_rect.left) - 2;
    if (IsHorizontal()) {
        const int x = m_rect.left + index * side + (index == 2 ? 2 : 0);
        return RECT{x, m_rect.top + 1, x + side, m_rect.top + 1 + side};
    }
    const int y = m_rect.top + index * side + (index == 2 ? 2 : 0);
    return RECT{m_rect.left + 1, y, m_rect.left + 1 + side, y + side};
}

void CMenuControl::Draw(HDC dc) {
    if (m_state & MISTATE_HIDDEN) return;
    static const UINT kinds[3] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
    for (int i = 0; i < 3; ++i) {
        RECT rc = ButtonRect(i);
        ::DrawFrameControl(dc, &rc, DFC_CAPTION, kinds[i]);
    }
}

void CMenuControl::TrackPopup(CXPMenuBar*, HWND) {}

bool CMenuControl::OnClick(POINT pt) {
    if ((m_state & MISTATE_HIDDEN) || !m_child) return false;
    static const UINT commands[3] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    for (int i = 0; i < 3; ++i) {
        RECT rc = ButtonRect(i);
        if (::PtInRect(&rc, pt)) {
            ::PostMessageW(m_child, WM_SYSCOMMAND, commands[i], 0);
            return true;
        }
    }
    return false;
}
