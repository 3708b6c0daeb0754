#pragma once
#include "framework/Controls.h"
#include "ui/controls/OleDropTargetText.h"
#include <windows.h>

// The edit field of the search box: shows a grey hint while it is empty and unfocused,
// takes dropped text, and tells the window to notify when Enter is released, with the
// registered message "__ComboEditRefrect__" (wParam 13, lParam of the key message).
class CEditEx : public CEdit {
public:
    CEditEx();
    ~CEditEx() override;

    void SetHintFont(HFONT font) { m_hintFont = font; }
    void SetNotifyWnd(HWND wnd) { m_notifyWnd = wnd; }
    // Registers the text drop target for the edit window (OLE must be initialised).
    BOOL RegisterDropTarget() { return m_dropTarget.Register(this); }
    void RevokeDropTarget() { m_dropTarget.Revoke(); }
    COleDropTargetText& GetDropTarget() { return m_dropTarget; }

    UINT GetNotifyMessage() const { return m_notifyMessage; }
    // True while the hint stands in for the edit's own painting.
    bool ShowsHint() const;

    static const wchar_t* HintText();
    static COLORREF HintColor() { return RGB(0xA0, 0xA0, 0xA0); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Paints the hint over the whole client rectangle in one copy.
    virtual void DrawHint(HDC dc, const RECT& client);

private:
    COleDropTargetText m_dropTarget;
    HFONT m_hintFont = nullptr;
    HWND m_notifyWnd = nullptr;
    UINT m_notifyMessage = 0;
    bool m_hasFocus = false;
};
