#pragma once
#include "framework/ToolBar.h"
#include <string>

// The navigate toolbar: back and forward over the query history, and the title of the
// query that made the current play list, in an owner-drawn static (control 32950) that the
// frame lays over the toolbar's last button.
class CToolBarNavigate : public CToolBar {
public:
    void SetQueryTitleWindow(HWND title) { m_titleWindow = title; }
    HWND GetQueryTitleWindow() const { return m_titleWindow; }
    const std::wstring& GetQueryTitle() const { return m_title; }

private:
    std::wstring m_title;
    HWND m_titleWindow = nullptr;
};
