#pragma once
#include "framework/ControlBar.h"
#include "framework/FrameIds.h"
#include <commctrl.h>
#include <string>
#include <vector>

// Pane styles of CStatusBar::SetPaneInfo.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = SBT_NOBORDERS;
constexpr UINT SBPS_POPOUT = SBT_POPOUT;
constexpr UINT SBPS_OWNERDRAW = SBT_OWNERDRAW;   // drawn by DrawItem
constexpr UINT SBPS_DISABLED = 0x04000000;       // text not shown
constexpr UINT SBPS_STRETCH = 0x08000000;        // takes the width the other panes leave

// A status bar over the system's status bar control. Its panes are indicators: each has a
// command id, a style and a width. The first pane with ID_SEPARATOR is the message pane, the
// bar's window text, where the frame shows status prompts.
class CStatusBar : public CControlBar {
public:
    CStatusBar() = default;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
    // `ctrlStyle`: SBARS_* of the control.
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT id = AFX_IDW_STATUS_BAR);

    // One pane per id; a pane is as wide as its id's string (its text), ID_SEPARATOR panes
    // start empty, and the first of them stretches.
    BOOL SetIndicators(const UINT* ids, int count);
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    BOOL SetPaneText(int index, const wchar_t* text, BOOL update = TRUE);
    std::wstring GetPaneText(int index) const;
    // The pane's rectangle in the bar's client area.
    void GetItemRect(int index, RECT* rect) const;

    // Draws an owner-drawn pane; the record's itemID is the pane index. The frame hands the
    // control's WM_DRAWITEM back to the bar.
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;

protected:
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct Pane {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        std::wstring text;
    };
    // Sets the control's parts from the panes and the bar's width, and each pane's text.
    void UpdateParts();
    void ApplyText(int index);
    int MessagePane() const;
    std::vector<Pane> m_panes;
    int m_height = 0;
};
