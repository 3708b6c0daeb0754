#pragma once
#include "framework/ToolBar.h"
#include <string>

// The navigate toolbar: back and forward over the query history, and the title of the
// query that made the current play list, in an owner-drawn static (control 32950) that the
// frame lays over the toolbar's last button, which takes the width the others leave.
class CToolBarNavigate : public CToolBar {
public:
    void SetQueryTitleWindow(HWND title) { m_titleWindow = title; }
    HWND GetQueryTitleWindow() const { return m_titleWindow; }
    const std::wstring& GetQueryTitle() const { return m_title; }
    // Keeps the title and repaints the static at once.
    void SetQueryTitle(const std::wstring& title);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSizeBar(int width);
    void DrawTitle(const DRAWITEMSTRUCT& item);

    std::wstring m_title;
    HWND m_titleWindow = nullptr;
};
