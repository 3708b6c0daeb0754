#pragma once
#include "framework/Wnd.h"
#include <vector>

class CControlBar;
class CDockState;
class CView;
class CDocument;
struct CCreateContext;

// Adds the document's title to the caption ("Title - App").
constexpr DWORD FWS_ADDTOTITLE = 0x00008000L;

// A top-level window holding views. Commands are routed to the active view (and through it
// to its document), then to the frame, then to the application.
class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;

    // Creates the frame with the menu, icon, accelerators and title of `resourceId`.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style, HWND parent, CCreateContext* context);
    // Runs every view's initial update and shows the frame with the application's show command.
    virtual void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    // Lays the client area out: bars first, then the view fills the rest. While the layout
    // is held it only notes that it is due.
    virtual void RecalcLayout();
    // Holds the layout while many bars or bands change at once (each would lay out the whole
    // client area again); the release runs the one layout that became due, if any.
    void HoldLayout() { ++m_layoutHolds; }
    void ReleaseLayout();

    CView* GetActiveView() const { return m_activeView; }
    void SetActiveView(CView* view) { m_activeView = view; }
    CDocument* GetActiveDocument() const;

    BOOL OnCmdMsg(UINT id, UINT code, void* extra) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Control bars, in creation order. Bars join and leave the list themselves.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    const std::vector<CControlBar*>& GetControlBars() const { return m_controlBars; }
    CControlBar* GetControlBar(UINT id) const;
    // Shows or hides a bar (its band, for a bar in a rebar); lays the frame out again unless
    // `delay` is set.
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    // Lays the visible bars that are children of the frame along its edges, in creation
    // order; `client` comes in as the client area and goes out as what the bars leave.
    void RepositionBars(RECT& client);

    // The dock state: which bars are shown, kept in the application's profile under `name`.
    void GetDockState(CDockState& state) const;
    void SetDockState(const CDockState& state);
    void SaveBarState(const wchar_t* name) const;
    void LoadBarState(const wchar_t* name);

    // The bar whose window text is the message pane (the status bar, AFX_IDW_STATUS_BAR).
    CWnd* GetMessageBar() const;

    // The frame owns the document it was created for and deletes it when it goes away.
    void SetOwnedDocument(CDocument* doc) { m_ownedDocument = doc; }

    // Menu items that no handler along the command route takes are shown disabled.
    BOOL m_bAutoMenuEnable = TRUE;

protected:
    // Creates the client area; by default one view that fills it.
    virtual BOOL OnCreateClient(LPCREATESTRUCTW cs, CCreateContext* context);
    CView* CreateView(CCreateContext* context, UINT id = 0xE900 /* first pane */, HWND parent = nullptr);

    int OnCreate(LPCREATESTRUCTW cs);
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(HWND oldWnd);
    // Runs the update handlers of the popup's items along the command route.
    void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu);
    void PostNcDestroy() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Bar toggles: the command's id is the bar's id.
    void OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* ui);
    // F6 and Shift+F6: the focus moves to the next or previous visible view.
    void OnNextPane(UINT id);
    void OnUpdateNextPane(CCmdUI* ui);
    LRESULT OnSetMessageString(WPARAM id, LPARAM text);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    UINT m_resourceId = 0;
    HACCEL m_accel = nullptr;
    std::wstring m_appTitle;
    CView* m_activeView = nullptr;
    CDocument* m_ownedDocument = nullptr;
    CCreateContext* m_createContext = nullptr;
    std::vector<CControlBar*> m_controlBars;
    UINT m_lastMessageId = 0;
    bool m_inBarLayout = false;
    bool m_barLayoutAgain = false;
    int m_layoutHolds = 0;
    bool m_layoutDue = false;
};
