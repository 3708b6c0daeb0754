#pragma once
#include "framework/ControlBar.h"
#include "framework/FrameIds.h"

// A bar made from a dialog template: the template's controls on a child dialog window, which
// keeps the template's size. Notifications its own map leaves go on to the frame; at idle
// time its push buttons follow their commands' update handlers.
class CDialogBar : public CControlBar {
public:
    CDialogBar() = default;

    // The template may be written as a pop-up dialog: the bar is always a child window,
    // shown when `style` has WS_VISIBLE; `style` also holds the bar styles.
    virtual BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id);

    SIZE CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    SIZE m_sizeDefault{0, 0};
};
