#include "framework/BarTestFrame.h"

namespace bar_test {

BEGIN_MESSAGE_MAP(BarView, CView)
    ON_UPDATE_COMMAND_UI(ID_TEST_A, &BarView::OnUpdateA)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(BarFrame, CFrameWnd)
    ON_COMMAND(ID_TEST_B, &BarFrame::OnB)
END_MESSAGE_MAP()

bool BarFrame::Build() {
    if (!LoadFrame(ID_TEST_FRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr)) return false;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);

    if (!rebar.Create(this)) return false;
    if (!status.Create(this)) return false;
    const UINT indicators[] = {ID_SEPARATOR, ID_TEST_C};
    status.SetIndicators(indicators, 2);
    status.SetPaneInfo(1, ID_TEST_C, SBPS_NORMAL, 80);

    const DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS | CBRS_FLYBY;
    if (!first.CreateEx(this, TBSTYLE_FLAT, barStyle, RECT{0, 0, 0, 0}, ID_TEST_BAR)) return false;
    if (!second.CreateEx(this, TBSTYLE_FLAT, barStyle, RECT{0, 0, 0, 0}, AFX_IDW_TOOLBAR)) return false;
    images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    for (int i = 0; i < 4; ++i) images.Add(icon);
    first.GetToolBarCtrl().SetImageList(&images);
    second.GetToolBarCtrl().SetImageList(&images);

    const UINT buttons[] = {ID_TEST_A, ID_TEST_B, ID_SEPARATOR, ID_TEST_C, ID_TEST_LONG};
    first.SetButtons(buttons, 5);
    // The separator holds a combo box, as the search toolbar's do.
    first.SetButtonInfo(2, ID_TEST_COMBO, TBBS_SEPARATOR, 100);
    RECT r{};
    first.GetItemRect(2, &r);
    combo = ::CreateWindowExW(0, WC_COMBOBOXW, nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                              r.left, r.top, r.right - r.left, 200, first.m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_TEST_COMBO)), nullptr, nullptr);
    const UINT secondButtons[] = {ID_TEST_B, ID_TEST_C};
    second.SetButtons(secondButtons, 2);

    rebar.AddBar(&first);
    rebar.AddBar(&second, nullptr, nullptr, RBBS_GRIPPERALWAYS | RBBS_BREAK);

    view = new BarView;
    RECT none{0, 0, 0, 0};
    if (!view->Create(WS_CHILD | WS_VISIBLE, none, m_hWnd, AFX_IDW_PANE_FIRST, nullptr)) {
        delete view;
        view = nullptr;
        return false;
    }
    SetActiveView(view);
    RecalcLayout();
    return combo != nullptr;
}

RECT BarFrame::ClientRect() const {
    RECT r{};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

RECT BarFrame::ChildRect(HWND child) const {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace bar_test
