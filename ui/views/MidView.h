#pragma once
#include "framework/ImageList.h"
#include "framework/ToolBar.h"
#include "framework/View.h"
#include <string>

// The grouping bar's toolbar. At idle time its buttons follow the update handlers along its
// view's command route, and only while it is visible.
class CGroupToolBar : public CToolBar {
public:
    CView* m_view = nullptr;

protected:
    LRESULT OnIdleUpdateCmdUI(WPARAM disableIfNoHandler, LPARAM);
    DECLARE_MESSAGE_MAP()
};

// The strip between the query tree and the group view: the grouping key is chosen here
// (artist, album, genre, or another column from the "その他..." menu) and the group view told.
class CMidView : public CView {
public:
    CMidView() = default;

    void OnInitialUpdate() override;
    void OnUpdate(CView*, LPARAM, CObject*) override {}

    // Checks the key's button and stores the key unchanged.
    void SetGroupColumn(const std::wstring& key);
    // Tells the views (hint 13) to group by `key`.
    void RefreshGroupList(const std::wstring& key);
    const std::wstring& GetGroupColumn() const { return m_key; }
    CGroupToolBar& GetToolBar() { return m_toolBar; }
    // Opens the menu of the other keys under the "その他..." button.
    void ShowOtherMenu();

    static const UINT kToolBarId = 0xE8F0;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnSize(UINT type, int cx, int cy);
    void OnDraw(HDC dc) override;
    void OnGroupArtist();
    void OnGroupAlbum();
    void OnGroupGenre();
    void OnGroupOther();
    void OnUpdateGroupCommand(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

private:
    void Choose(const std::wstring& key);
    void FitToolBar();
    void FitCaptions();

    CGroupToolBar m_toolBar;
    CImageList m_images;
    std::wstring m_key = L"tagAlbum";
};
