#pragma once
#include "ui/controls/SubclassWnd.h"

class CXPMenuBar;

// Watches the frame that holds a menu bar: its activation (the bar's inactive look), the
// selection in an open popup (keyboard moves between the bar's items), the bar's menu on
// request, and in an MDI frame the Window menu and the active child.
class CMainFrameHook : public CSubclassWnd {
public:
    explicit CMainFrameHook(CXPMenuBar* bar) : m_bar(bar) {}

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CXPMenuBar* m_bar;
};

// In an MDI frame, keeps the bar's menu when the client is asked to set a frame menu.
class CMDIClientHook : public CSubclassWnd {
public:
    explicit CMDIClientHook(CXPMenuBar* bar) : m_bar(bar) {}

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CXPMenuBar* m_bar;
};
