#include "ui/views/StatusBarOD.h"
#include "app/AppSettings.h"
#include "document/Larkspur2006Doc.h"
#include "framework/FrameWnd.h"
#include "resources/resource.h"
#include "ui/views/TipText.h"
#include <commctrl.h>
#include <algorithm>
#include <cwchar>

BEGIN_MESSAGE_MAP(CSliderVolume, CSliderCtrl)
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_MOUSEWHEEL, &CSliderVolume::OnMouseWheel)
END_MESSAGE_MAP()

void CSliderVolume::OnSetFocus(HWND) {
    if (HWND parent = GetParent()) ::SetFocus(parent);
}

LRESULT CSliderVolume::OnMouseWheel(WPARAM wParam, LPARAM) {
    // The wheel turned away from the user raises the volume. The trackbar moves itself here
    // (some trackbars ignore the wheel) and tells its parent as if it had been scrolled.
    const int delta = static_cast<short>(HIWORD(wParam));
    if (delta == 0) return 0;
    UINT lines = 3;
    ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL) lines = 10;
    lines = std::min(lines, 100u);   // more would cross the whole range anyway
    // Fine wheels and touch pads send less than a notch at a time: the parts add up, and
    // turning the other way starts afresh.
    if ((delta > 0) != (m_wheelUnits > 0)) m_wheelUnits = 0;
    m_wheelUnits += delta * static_cast<int>(lines);
    const int step = m_wheelUnits / WHEEL_DELTA;
    m_wheelUnits -= step * WHEEL_DELTA;
    if (step == 0) return 0;
    const int position = std::clamp(GetPos() + step, GetRangeMin(), GetRangeMax());
    SetPos(position);
    const WPARAM code = MAKEWPARAM(step > 0 ? TB_LINEDOWN : TB_LINEUP, 0);
    ::SendMessageW(GetParent(), WM_HSCROLL, code, reinterpret_cast<LPARAM>(m_hWnd));
    ::SendMessageW(GetParent(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(m_hWnd));
    return 0;
}

BEGIN_MESSAGE_MAP(CStatusBarOD, CStatusBar)
    ON_WM_SIZE()
    ON_MESSAGE(WM_LBUTTONUP, &CStatusBarOD::OnLButtonUp)
    ON_MESSAGE(WM_HSCROLL, &CStatusBarOD::OnHScroll)
END_MESSAGE_MAP()

BOOL CStatusBarOD::Create(CWnd* parent, DWORD style, UINT id) {
    if (!CStatusBar::Create(parent, style, id)) return FALSE;
    const DWORD sliderStyle = WS_CHILD | WS_VISIBLE | TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE |
                              TBS_TOOLTIPS | TBS_DOWNISLEFT | TBS_FIXEDLENGTH;
    if (m_volume.Create(sliderStyle, RECT{0, 0, 100, 18}, this, kVolumeSliderId)) {
        m_volume.SetRange(0, 100, FALSE);
        m_volume.SetPageSize(10);
        m_volume.SendMessage(TBM_SETSEL, FALSE, MAKELPARAM(0, 100));
        m_volume.SendMessage(TBM_SETTHUMBLENGTH, 20);
        m_volume.SetPos(m_settings ? m_settings->bass.masterVolume : 100);
    }
    m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 5);
    if (HICON speaker = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SPEAKER),
                                                          IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR))) {
        m_images.Add(speaker);
        ::DestroyIcon(speaker);
    }
    EnableToolTips(TRUE);
    return TRUE;
}

CLarkspur2006Doc* CStatusBarOD::ActiveDocument() const {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h))
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h)))
            return dynamic_cast<CLarkspur2006Doc*>(frame->GetActiveDocument());
    return nullptr;
}

void CStatusBarOD::ApplyVolume() {
    if (CLarkspur2006Doc* doc = ActiveDocument()) doc->ApplyVolume();
}

void CStatusBarOD::RepaintPane(int index) {
    RECT r;
    GetItemRect(index, &r);
    ::InvalidateRect(m_hWnd, &r, FALSE);
    ::UpdateWindow(m_hWnd);
}

void CStatusBarOD::PlaceVolumeSlider() {
    if (!m_volume.m_hWnd) return;
    RECT r;
    GetItemRect(PaneVolume, &r);
    ::MoveWindow(m_volume.m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CStatusBarOD::OnSize(UINT type, int cx, int cy) {
    CStatusBar::OnSize(type, cx, cy);
    PlaceVolumeSlider();
}

void CStatusBarOD::SetVolumeSlider(int volume) {
    if (m_volume.m_hWnd) m_volume.SetPos(volume);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
}

std::wstring CStatusBarOD::GetMuteTipText() const {
    return m_settings && m_settings->bass.mute ? L"ミュート解除" : L"ミュート";
}

std::wstring CStatusBarOD::GetVolumeTipText() const {
    wchar_t text[64];
    std::swprintf(text, 64, L"ボリューム : %d%%", m_volume.m_hWnd ? m_volume.GetPos() : 0);
    return text;
}

LRESULT CStatusBarOD::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    if (m_volume.m_hWnd && m_settings) {
        RECT pane;
        GetItemRect(PaneMute, &pane);
        const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (::PtInRect(&pane, p)) {
            m_settings->bass.mute = !m_settings->bass.mute;
            RepaintPane(PaneMute);
            ApplyVolume();
        }
    }
    return Default(WM_LBUTTONUP, wParam, lParam);
}

LRESULT CStatusBarOD::OnHScroll(WPARAM wParam, LPARAM lParam) {
    if (m_volume.m_hWnd && reinterpret_cast<HWND>(lParam) == m_volume.m_hWnd && m_settings) {
        m_settings->bass.masterVolume = m_volume.GetPos();
        RepaintPane(PanePercent);
        ApplyVolume();
    }
    return Default(WM_HSCROLL, wParam, lParam);
}

void CStatusBarOD::DrawItem(LPDRAWITEMSTRUCT item) {
    if (!item) return;
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    switch (item->itemID) {
    case PaneSummary: {
        const std::wstring text = GetPaneText(PaneSummary);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        break;
    }
    case PaneMute: {
        const int x = r.left + (r.right - r.left - 16) / 2;
        const int y = r.top + (r.bottom - r.top - 16) / 2;
        const bool muted = m_settings && m_settings->bass.mute;
        ::ImageList_DrawEx(m_images.GetSafeHandle(), 0, dc, x, y, 16, 16, CLR_NONE,
                           muted ? ::GetSysColor(COLOR_BTNFACE) : CLR_NONE,
                           muted ? ILD_BLEND50 : ILD_NORMAL);
        break;
    }
    case PanePercent: {
        wchar_t text[32];
        std::swprintf(text, 32, L"%d%%", m_settings ? m_settings->bass.masterVolume : 0);
        ::DrawTextW(dc, text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        break;
    }
    default:
        break;
    }
    ::SelectObject(dc, oldFont);
    ::SetBkMode(dc, mode);
}

INT_PTR CStatusBarOD::OnToolHitTest(POINT point, TOOLINFOW* info) const {
    RECT pane;
    GetItemRect(PaneMute, &pane);
    if (::PtInRect(&pane, point)) {
        if (info) {
            info->hwnd = m_hWnd;
            info->uId = kMuteToolId;
            info->rect = pane;
            info->lpszText = LPSTR_TEXTCALLBACKW;
        }
        return static_cast<INT_PTR>(kMuteToolId);
    }
    return CStatusBar::OnToolHitTest(point, info);
}

BOOL CStatusBarOD::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm && nm->code == TTN_NEEDTEXTW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const bool byWindow = (info->uFlags & TTF_IDISHWND) != 0;
        if (byWindow ? reinterpret_cast<HWND>(nm->idFrom) == m_volume.m_hWnd : nm->idFrom == kVolumeSliderId) {
            SetTipText(*info, GetVolumeTipText());
            *result = 0;
            return TRUE;
        }
        if (!byWindow && nm->idFrom == kMuteToolId) {
            SetTipText(*info, GetMuteTipText());
            *result = 0;
            return TRUE;
        }
    }
    return CStatusBar::OnNotify(wParam, lParam, result);
}
