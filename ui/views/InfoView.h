#pragma once
#include "framework/View.h"
#include <memory>
#include <string>

class CDlgInfo;
class CDlgOutput;
class CLarkspur2006Doc;

// The information pane above the play list: the now-playing pane and the output pane on top
// of each other, switched by two vertical tabs on the right edge.
class CInfoView : public CView {
public:
    CInfoView();
    ~CInfoView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;

    int GetSelectedTab() const { return m_selected; }
    CDlgInfo* GetInfoPane() { return m_info.get(); }
    CDlgOutput* GetOutputPane() { return m_output.get(); }
    // Lays the two panes out beside the tab strip.
    void LayoutPanes();

protected:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnDraw(HDC dc) override;
    BOOL OnEraseBkgnd(HDC) { return TRUE; }
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonUp(UINT flags, POINT point);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void MakeTabFonts();
    void FreeTabFonts();

    std::wstring m_titles[2];
    int m_selected = 0;
    HFONT m_tabFont = nullptr;
    HFONT m_tabFontBold = nullptr;
    std::unique_ptr<CDlgInfo> m_info;
    std::unique_ptr<CDlgOutput> m_output;
};
