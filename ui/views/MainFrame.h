#pragma once
#include "framework/FrameWnd.h"

// The main window.
class CMainFrame : public CFrameWnd {
public:
    CMainFrame() = default;

protected:
    DECLARE_MESSAGE_MAP()
};
