#pragma once
#include "framework/Wnd.h"
#include <commctrl.h>

class CFrameWnd;

// Bar styles. A bar's creation style word carries both window styles and these bits; the
// bar keeps these (CBRS_ALL) and the window gets the rest.
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;          // status prompt of the tool under the mouse
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ALL = 0x0040FFFF;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;

// Modes of CalcDynamicLayout.
constexpr DWORD LM_STRETCH = 0x01;    // take the full length of the dock row
constexpr DWORD LM_HORZ = 0x02;       // horizontal layout
constexpr DWORD LM_MRUWIDTH = 0x04;
constexpr DWORD LM_HORZDOCK = 0x08;
constexpr DWORD LM_VERTDOCK = 0x10;
constexpr DWORD LM_LENGTHY = 0x20;
constexpr DWORD LM_COMMIT = 0x40;

// The frame's message pane shows string wParam's status prompt, or the text lParam when it
// is not null. Returns the id shown before.
constexpr UINT WM_SETMESSAGESTRING = 0x0362;
// Sent to every window of the main frame when the message loop goes idle: bars update their
// buttons through the command route. wParam: disable commands nobody handles.
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;

// A bar along an edge of a frame (toolbar, status bar, rebar, dialog bar, menu bar). The frame
// keeps its bars in creation order: bars that are its direct children are laid out along its
// edges by RecalcLayout; bars inside a rebar take their place in a band. Notifications and
// commands that the bar's own map leaves go on to its parent, so they reach the frame.
class CControlBar : public CWnd {
public:
    CControlBar() = default;
    ~CControlBar() override;

    // Creates a bar window of a framework class (see AfxRegisterWndClass); `style` holds the
    // window styles and the bar styles.
    BOOL Create(const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                CWnd* parent, UINT id);

    // The size the bar wants: `stretch` to the full length of the dock row, laid out
    // horizontally or vertically.
    virtual SIZE CalcFixedLayout(BOOL stretch, BOOL horz);
    // The same for bars with CBRS_SIZE_DYNAMIC; `length` -1 asks for the preferred length.
    virtual SIZE CalcDynamicLayout(int length, DWORD mode);
    // Updates the bar's buttons through `target`'s command route (idle time).
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler);
    // Paints a bar of a framework class.
    virtual void DoPaint(HDC dc);

    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual void SetBarStyle(DWORD style) { m_dwStyle = style & CBRS_ALL; }
    void SetBorders(int left = 0, int top = 0, int right = 0, int bottom = 0);
    RECT GetBorders() const;
    // Whether the window has WS_VISIBLE (so also while its frame is still hidden).
    BOOL IsVisible() const;
    bool IsHorz() const { return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0; }
    // The frame whose bar this is.
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }

    bool WantsToolTips() const override;

    // The nearest frame above `hwnd` (null when none).
    static CFrameWnd* FindParentFrame(HWND hwnd);

protected:
    // Joins the frame's list of bars (called once the window exists).
    void AttachToFrame();
    void DetachFromFrame();

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    DWORD m_dwStyle = 0;
    int m_cxLeftBorder = 0;
    int m_cxRightBorder = 0;
    int m_cyTopBorder = 0;
    int m_cyBottomBorder = 0;
    CFrameWnd* m_pDockSite = nullptr;

private:
    bool m_paintsItself = false;   // a window of a framework class, painted by DoPaint
};

// Sends WM_IDLEUPDATECMDUI to `mainWnd` and every framework window inside it.
void AfxUpdateIdleCmdUI(HWND mainWnd);

// Registers (once per distinct set of arguments) a window class whose windows belong to
// framework objects, and returns its name.
const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                   HBRUSH background = nullptr, HICON icon = nullptr);
