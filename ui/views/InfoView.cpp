#include "ui/views/InfoView.h"
#include "app/ViewHints.h"
#include "document/Larkspur2006Doc.h"
#include "framework/Dialog.h"
#include "resources/resource.h"
#include "ui/controls/BufferDC.h"
#include "ui/views/DlgInfo.h"
#include "ui/views/DlgOutput.h"
#include "ui/views/InfoPaneLayout.h"

BEGIN_MESSAGE_MAP(CInfoView, CView)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONUP()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CInfoView::CInfoView() = default;

CInfoView::~CInfoView() { FreeTabFonts(); }

BOOL CInfoView::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    return CView::PreCreateWindow(cs);
}

void CInfoView::FreeTabFonts() {
    if (m_tabFont) ::DeleteObject(m_tabFont);
    if (m_tabFontBold) ::DeleteObject(m_tabFontBold);
    m_tabFont = m_tabFontBold = nullptr;
}

void CInfoView::MakeTabFonts() {
    auto* doc = dynamic_cast<CLarkspur2006Doc*>(GetDocument());
    if (!doc) return;
    FreeTabFonts();
    const auto& v = doc->GetSettings().informationView;
    HDC dc = ::GetDC(nullptr);
    const int height = -(v.fontSize * ::GetDeviceCaps(dc, LOGPIXELSY) / 72);
    ::ReleaseDC(nullptr, dc);
    auto make = [&](int weight) {
        return ::CreateFontW(height, 0, 2700, 2700, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, v.fontName.c_str());
    };
    m_tabFont = make(FW_NORMAL);
    m_tabFontBold = make(FW_BOLD);
    SetFont(m_tabFont, FALSE);
}

void CInfoView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    m_titles[0] = L"Info";
    m_titles[1] = L"Output";
    auto* doc = dynamic_cast<CLarkspur2006Doc*>(GetDocument());
    if (!doc || m_info) return;
    MakeTabFonts();
    m_info.reset(new CDlgInfo(*doc));
    m_output.reset(new CDlgOutput);
    m_output->SetDocument(doc);
    if (m_info->Create(IDD_INFO, this)) m_info->ShowWindow(SW_SHOW);
    if (m_output->Create(IDD_OUTPUT, this)) m_output->ShowWindow(SW_HIDE);
    LayoutPanes();
}

void CInfoView::LayoutPanes() {
    RECT client;
    GetClientRect(&client);
    const int width = client.right - InfoTabStripWidth > 0 ? client.right - InfoTabStripWidth : 0;
    if (m_info && m_info->m_hWnd) m_info->MoveWindow(0, 0, width, client.bottom);
    if (m_output && m_output->m_hWnd) m_output->MoveWindow(0, 0, width, client.bottom);
}

void CInfoView::OnSize(UINT, int, int) { LayoutPanes(); }

void CInfoView::OnUpdate(CView*, LPARAM hint, CObject* hintObject) {
    if (m_info) m_info->OnUpdateInfo(hintObject, hint);
    if ((hint == HintSettingsChanged || hint == HintEqualizerSwitched) && m_output && m_output->m_hWnd)
        m_output->UpdateControls();
    if (hint == HintSettingsChanged) {
        MakeTabFonts();
        if (m_hWnd) Invalidate(FALSE);
    }
}

void CInfoView::OnDraw(HDC target) {
    RECT client;
    GetClientRect(&client);
    CBufferDC buffer(client, target);
    HDC dc = buffer;
    const int R = client.right, L = R - InfoTabStripWidth;
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    RECT strip{L + 2, 0, R, client.bottom};
    ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_BTNFACE));
    HPEN shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    HPEN highlight = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ oldPen = ::SelectObject(dc, shadow);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));

    auto drawTab = [&](int i, bool selected) {
        POINT p[6];
        GetInfoTabPolygon(i, R, p);
        HBRUSH fill = ::GetSysColorBrush(selected ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
        HGDIOBJ oldBrush = ::SelectObject(dc, fill);
        HGDIOBJ noPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
        ::Polygon(dc, p, 6);
        ::SelectObject(dc, shadow);
        ::Polyline(dc, p, 6);
        ::SelectObject(dc, oldBrush);
        (void)noPen;
        if (selected) {
            ::SelectObject(dc, highlight);
            ::MoveToEx(dc, L + 2, p[0].y, nullptr);
            ::LineTo(dc, L + 2, p[5].y + 1);
            ::SelectObject(dc, shadow);
        }
        HGDIOBJ oldFont = ::SelectObject(dc, selected ? m_tabFontBold : m_tabFont);
        SIZE s{};
        ::GetTextExtentPoint32W(dc, m_titles[i].c_str(), static_cast<int>(m_titles[i].size()), &s);
        int x = L + 2 + s.cy;
        if (x > R - 2) x = R - 2;
        ::TextOutW(dc, x, 54 * i + 9, m_titles[i].c_str(), static_cast<int>(m_titles[i].size()));
        ::SelectObject(dc, oldFont);
    };
    for (int i = InfoTabCount - 1; i >= 0; --i)
        if (i != m_selected) drawTab(i, false);
    ::MoveToEx(dc, L + 2, 0, nullptr);
    ::LineTo(dc, L + 2, client.bottom);
    drawTab(m_selected, true);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(shadow);
    ::DeleteObject(highlight);
}

void CInfoView::OnLButtonUp(UINT, POINT point) {
    RECT client;
    GetClientRect(&client);
    const int tab = HitInfoTab(point, client.right, m_selected);
    if (tab < 0) return;
    m_selected = tab;
    Invalidate(FALSE);
    if (m_info && m_info->m_hWnd) m_info->ShowWindow(tab == 0 ? SW_SHOW : SW_HIDE);
    if (m_output && m_output->m_hWnd) m_output->ShowWindow(tab == 1 ? SW_SHOW : SW_HIDE);
}

void CInfoView::OnDestroy() {
    if (m_info && m_info->m_hWnd) m_info->DestroyWindow();
    if (m_output && m_output->m_hWnd) m_output->DestroyWindow();
    Default(WM_DESTROY, 0, 0);
}
