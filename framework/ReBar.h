#pragma once
#include "framework/ControlBar.h"
#include "framework/FrameIds.h"
#include <commctrl.h>

// The rebar control of a CReBar. Band records are REBARBANDINFOW with cbSize set by
// PrepareBandInfo (the size every comctl32 version 6 accepts).
class CReBarCtrl {
public:
    HWND m_hWnd = nullptr;
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }

    // Zeroes `info` and sets its size and mask.
    static void PrepareBandInfo(REBARBANDINFOW& info, UINT mask);

    UINT GetBandCount() const { return static_cast<UINT>(SendMessage(RB_GETBANDCOUNT)); }
    BOOL GetBandInfo(UINT index, REBARBANDINFOW* info) const { return static_cast<BOOL>(SendMessage(RB_GETBANDINFOW, index, reinterpret_cast<LPARAM>(info))); }
    BOOL SetBandInfo(UINT index, REBARBANDINFOW* info) { return static_cast<BOOL>(SendMessage(RB_SETBANDINFOW, index, reinterpret_cast<LPARAM>(info))); }
    BOOL InsertBand(UINT index, REBARBANDINFOW* info) { return static_cast<BOOL>(SendMessage(RB_INSERTBANDW, index, reinterpret_cast<LPARAM>(info))); }
    BOOL DeleteBand(UINT index) { return static_cast<BOOL>(SendMessage(RB_DELETEBAND, index)); }
    BOOL ShowBand(UINT index, BOOL show = TRUE) { return static_cast<BOOL>(SendMessage(RB_SHOWBAND, index, show)); }
    int IDToIndex(UINT id) const { return static_cast<int>(SendMessage(RB_IDTOINDEX, id)); }
    UINT GetBarHeight() const { return static_cast<UINT>(SendMessage(RB_GETBARHEIGHT)); }
    UINT GetRowCount() const { return static_cast<UINT>(SendMessage(RB_GETROWCOUNT)); }
    void GetRect(UINT index, RECT* rect) const { SendMessage(RB_GETRECT, index, reinterpret_cast<LPARAM>(rect)); }
    void MinimizeBand(UINT index) { SendMessage(RB_MINIMIZEBAND, index); }
    void MaximizeBand(UINT index, BOOL ideal = FALSE) { SendMessage(RB_MAXIMIZEBAND, index, ideal); }
};

// A rebar: a bar whose bands each hold another bar (toolbar, dialog bar, menu bar). It sits at
// the top of the frame and is as high as its rows of bands.
class CReBar : public CControlBar {
public:
    CReBar() = default;

    // `ctrlStyle`: RBS_* of the control.
    BOOL Create(CWnd* parent, DWORD ctrlStyle = RBS_BANDBORDERS,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT id = AFX_IDW_REBAR);

    // Adds a band at the end holding `bar` (a child of the rebar, made so if needed), sized
    // from the bar's own layout. A hidden bar gives a hidden band.
    BOOL AddBar(CWnd* bar, const wchar_t* text = nullptr, HBITMAP bitmap = nullptr,
                DWORD style = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    // The index of the band holding `child`, or -1.
    int FindBand(HWND child) const;
    // Shows or hides the band holding `child`.
    BOOL ShowBandOf(HWND child, BOOL show);

    CReBarCtrl& GetReBarCtrl() const { return m_ctrl; }

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;

private:
    mutable CReBarCtrl m_ctrl;
};
