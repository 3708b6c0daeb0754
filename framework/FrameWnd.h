#pragma once
#include "framework/Wnd.h"

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
    // Lays the client area out: bars first, then the view fills the rest.
    virtual void RecalcLayout();

    CView* GetActiveView() const { return m_activeView; }
    void SetActiveView(CView* view) { m_activeView = view; }
    CDocument* GetActiveDocument() const;

    BOOL OnCmdMsg(UINT id, UINT code, void* extra) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The frame owns the document it was created for and deletes it when it goes away.
    void SetOwnedDocument(CDocument* doc) { m_ownedDocument = doc; }

protected:
    // Creates the client area; by default one view that fills it.
    virtual BOOL OnCreateClient(LPCREATESTRUCTW cs, CCreateContext* context);
    CView* CreateView(CCreateContext* context, UINT id = 0xE900 /* first pane */, HWND parent = nullptr);

    int OnCreate(LPCREATESTRUCTW cs);
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(HWND oldWnd);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

    UINT m_resourceId = 0;
    HACCEL m_accel = nullptr;
    std::wstring m_appTitle;
    CView* m_activeView = nullptr;
    CDocument* m_ownedDocument = nullptr;
    CCreateContext* m_createContext = nullptr;
};
