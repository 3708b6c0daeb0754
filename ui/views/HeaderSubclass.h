#pragma once
#include "framework/Wnd.h"

class CLarkspur2006View;

// The play list's header control, taken over so that a right click on it opens the view's
// column menu.
class CHeaderSubclass : public CWnd {
public:
    CLarkspur2006View* m_pView = nullptr;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
