#include "ui/views/SliderBar.h"
#include "document/Larkspur2006Doc.h"
#include "framework/FrameWnd.h"
#include "resources/resource.h"
#include "ui/views/SeekBarMath.h"
#include "ui/views/TipText.h"
#include "ui/controls/BufferDC.h"
#include "ui/controls/GdiSelectors.h"
#include "app/Formatters.h"
#include <algorithm>
#include <commctrl.h>

BEGIN_MESSAGE_MAP(CSliderEx, CSliderCtrl)
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

void CSliderEx::OnSetFocus(HWND) {
    HWND parent = GetParent();
    HWND frame = parent ? ::GetParent(parent) : nullptr;
    // The frame's own parent chain: the bar sits in the rebar, the rebar in the frame.
    while (frame && (::GetWindowLongW(frame, GWL_STYLE) & WS_CHILD)) frame = ::GetParent(frame);
    if (frame) ::SetFocus(frame);
}

BEGIN_MESSAGE_MAP(CSliderBar, CDialogBar)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_DRAWITEM, &CSliderBar::OnDrawItem)
    ON_MESSAGE(WM_HSCROLL, &CSliderBar::OnHScroll)
END_MESSAGE_MAP()

UINT CSliderBar::GetSliderMsgCallback() {
    static const UINT message = ::RegisterWindowMessageW(L"SliderMsgCallback");
    return message;
}

CSliderBar::CSliderBar() {}

CSliderBar::~CSliderBar() {
    if (m_lockReady) ::DeleteCriticalSection(&m_lock);
    if (m_timeFont) ::DeleteObject(m_timeFont);
}

BOOL CSliderBar::Create(CWnd* parent, UINT templateId, UINT style, UINT id) {
    if (!CDialogBar::Create(parent, templateId, style, id)) return FALSE;
    m_uiThread = ::GetCurrentThreadId();
    m_window = m_hWnd;
    if (!m_lockReady) {
        ::InitializeCriticalSection(&m_lock);
        m_lockReady = true;
    }
    GetSliderMsgCallback();

    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    m_timeFont = ::CreateFontIndirectW(&lf);
    EnableToolTips(TRUE);

    m_slider.SubclassWindow(::GetDlgItem(m_hWnd, IDC_SEEK_SLIDER));
    m_timeButton.SubclassWindow(::GetDlgItem(m_hWnd, IDC_SEEK_TIME));
    m_slider.SetRange(0, 0, TRUE);
    m_slider.SetPageSize(100);
    // Nothing plays yet: nothing to seek in.
    m_slider.EnableWindow(FALSE);
    return TRUE;
}

void CSliderBar::OnPlayerStatus(const PlayerStatusBlock* status, void* user) {
    auto* bar = static_cast<CSliderBar*>(user);
    if (!bar || !status || !bar->m_lockReady) return;
    ::EnterCriticalSection(&bar->m_lock);
    CopyPlayerStatusBlock(*status, bar->m_status);
    ::LeaveCriticalSection(&bar->m_lock);
    ::PostMessageW(bar->m_window, GetSliderMsgCallback(), 0, 0);
}

BOOL CSliderBar::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg == GetSliderMsgCallback() && msg != 0) {
        OnStatusCallback();
        *result = 0;
        return TRUE;
    }
    return CDialogBar::OnWndMsg(msg, wParam, lParam, result);
}

void CSliderBar::OnStatusCallback() {
    if (!m_dragging && m_slider.m_hWnd) {
        ::EnterCriticalSection(&m_lock);
        const int position = static_cast<int>(m_status.positionBytes >> m_unitShift);
        ::LeaveCriticalSection(&m_lock);
        m_slider.SetPos(position);
    }
    RedrawTime();
}

void CSliderBar::OnPlayStateChanged(const PlayerStatusBlock& status) {
    if (!m_slider.m_hWnd) return;
    if (status.state == PlayStateStopped || status.state == PlayStateOpenError) {
        ::EnableWindow(m_slider.m_hWnd, FALSE);
        ::EnterCriticalSection(&m_lock);
        CopyPlayerStatusBlock(status, m_status);
        m_unitShift = 0;
        ::LeaveCriticalSection(&m_lock);
        m_slider.SetPos(0);
        m_slider.SetRange(0, 0, TRUE);
        m_slider.SetPageSize(100);
    } else {
        ::EnableWindow(m_slider.m_hWnd, status.lengthBytes > 0);
        ::EnterCriticalSection(&m_lock);
        CopyPlayerStatusBlock(status, m_status);
        m_unitShift = SeekUnitShift(status.lengthBytes);
        const int length = static_cast<int>(std::max<int64_t>(status.lengthBytes, 0) >> m_unitShift);
        const int position = static_cast<int>(std::max<int64_t>(status.positionBytes, 0) >> m_unitShift);
        ::LeaveCriticalSection(&m_lock);
        // The range first: the trackbar holds a position inside its old range, so a resume
        // in the middle of a track would show the start until the next status.
        m_slider.SetRange(0, length, TRUE);
        m_slider.SetPageSize(length / 100);
        m_slider.SetPos(position);
    }
    RedrawTime();
}

std::wstring CSliderBar::GetTimeText() {
    float position = 0, length = 0;
    if (m_lockReady) {
        ::EnterCriticalSection(&m_lock);
        position = m_status.position;
        length = m_status.length;
        ::LeaveCriticalSection(&m_lock);
    }
    return FormatSeekTime(m_timeMode, position, length);
}

void CSliderBar::RedrawTime() {
    if (m_timeButton.m_hWnd) {
        ::InvalidateRect(m_timeButton.m_hWnd, nullptr, FALSE);
        ::UpdateWindow(m_timeButton.m_hWnd);
    }
}

BOOL CSliderBar::OnEraseBkgnd(HDC dc) {
    return static_cast<BOOL>(Default(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
}

void CSliderBar::OnSize(UINT, int cx, int cy) {
    if (!m_timeButton.m_hWnd || !m_slider.m_hWnd || cx <= 0) return;
    RECT button;
    ::GetWindowRect(m_timeButton.m_hWnd, &button);
    const SeekBarLayout layout = LayoutSeekBar(cx, cy, button.right - button.left);
    auto place = [](HWND h, const RECT& r) {
        ::MoveWindow(h, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    };
    place(m_timeButton.m_hWnd, layout.button);
    place(m_slider.m_hWnd, layout.slider);
}

void CSliderBar::OnDestroy() {
    m_slider.UnsubclassWindow();
    m_timeButton.UnsubclassWindow();
    m_window = nullptr;
    Default(WM_DESTROY, 0, 0);
}

LRESULT CSliderBar::OnDrawItem(WPARAM wParam, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (wParam != IDC_SEEK_TIME || !item) return Default(WM_DRAWITEM, wParam, lParam);
    DrawTime(*item);
    return TRUE;
}

void CSliderBar::DrawTime(const DRAWITEMSTRUCT& item) {
    RECT area = item.rcItem;
    if (area.right <= area.left || area.bottom <= area.top) return;
    CBufferDC dc(area, item.hDC);
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    {
        CPenSelector pen(dc, ::GetSysColor(COLOR_3DDKSHADOW));
        CBrushSelector brush(dc, ::GetSysColor(COLOR_BTNFACE));
        ::RoundRect(dc, area.left, area.top, area.right, area.bottom, 3, 3);
    }
    const std::wstring text = GetTimeText();
    HGDIOBJ oldFont = ::SelectObject(dc, m_timeFont ? m_timeFont : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
}

CLarkspur2006Doc* CSliderBar::ActiveDocument() const {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h))
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h)))
            return dynamic_cast<CLarkspur2006Doc*>(frame->GetActiveDocument());
    return nullptr;
}

void CSliderBar::Seek(int64_t bytes) {
    if (CLarkspur2006Doc* doc = ActiveDocument()) doc->SeekBytes(static_cast<QWORD>(bytes));
}

void CSliderBar::SeekAtCursor() {
    RECT channel{}, thumb{};
    m_slider.GetChannelRect(&channel);
    m_slider.GetThumbRect(&thumb);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_slider.m_hWnd, &cursor);
    const TrackGeometry track{channel.left, channel.right - channel.left, thumb.right - thumb.left};
    int64_t length = 0;
    ::EnterCriticalSection(&m_lock);
    length = m_status.lengthBytes;
    ::LeaveCriticalSection(&m_lock);
    int64_t bytes = 0;
    if (SeekBytesAtPoint(cursor.x, track, length, bytes)) Seek(bytes);
}

LRESULT CSliderBar::OnHScroll(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != m_slider.m_hWnd || !m_slider.m_hWnd)
        return Default(WM_HSCROLL, wParam, lParam);
    const int code = LOWORD(wParam);
    switch (code) {
    case TB_THUMBTRACK:
        m_dragging = 1;
        break;
    case TB_PAGEUP:
    case TB_PAGEDOWN:
    case TB_THUMBPOSITION:
        SeekAtCursor();
        break;
    case TB_TOP:
        Seek(0);
        break;
    case TB_BOTTOM: {
        ::EnterCriticalSection(&m_lock);
        const int64_t length = m_status.lengthBytes;
        ::LeaveCriticalSection(&m_lock);
        Seek(length);
        break;
    }
    default:
        break;
    }
    if (code != TB_THUMBTRACK) m_dragging = 0;
    return Default(WM_HSCROLL, wParam, lParam);
}

BOOL CSliderBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm && nm->code == TTN_NEEDTEXTW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const bool byWindow = (info->uFlags & TTF_IDISHWND) != 0;
        const UINT_PTR tool = nm->idFrom;
        const bool overSlider = byWindow ? reinterpret_cast<HWND>(tool) == m_slider.m_hWnd : tool == IDC_SEEK_SLIDER;
        if (overSlider && m_slider.m_hWnd) {
            float length = 0;
            ::EnterCriticalSection(&m_lock);
            length = m_status.length;
            ::LeaveCriticalSection(&m_lock);
            std::wstring text;
            if (length != 0) {
                RECT channel{}, thumb{};
                m_slider.GetChannelRect(&channel);
                m_slider.GetThumbRect(&thumb);
                POINT cursor{};
                ::GetCursorPos(&cursor);
                ::ScreenToClient(m_slider.m_hWnd, &cursor);
                const TrackGeometry track{channel.left, channel.right - channel.left, thumb.right - thumb.left};
                FormatTimeSpan(text, static_cast<long long>(SecondsAtPoint(cursor.x, track, length)));
            }
            SetTipText(*info, text);
            *result = 0;
            return TRUE;
        }
    }
    return CDialogBar::OnNotify(wParam, lParam, result);
}
