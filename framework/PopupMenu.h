#pragma once
#include <windows.h>

// Every popup menu of the program is tracked through the current presenter, so that tests
// can choose an item (or none) without entering the system's menu loop.
class IPopupMenuPresenter {
public:
    virtual ~IPopupMenuPresenter() = default;
    // As TrackPopupMenuEx: with TPM_RETURNCMD the chosen command (0 for none), else whether
    // the menu was shown; the chosen command is then sent to `owner` as WM_COMMAND.
    virtual BOOL Track(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) = 0;
};

// Replaces the presenter (null restores the system's menu loop); returns the previous one.
IPopupMenuPresenter* AfxSetPopupMenuPresenter(IPopupMenuPresenter* presenter);

// Shows a popup menu at screen point (x, y), avoiding `params`' exclusion rectangle when given.
// The thread's tips are hidden first, so that none stays drawn over the menu (such as the tip
// of the button that opens it).
BOOL AfxTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params = nullptr);
