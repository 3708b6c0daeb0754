#include "framework/PopupMenu.h"
#include "framework/ToolTips.h"

namespace {
class SystemPresenter : public IPopupMenuPresenter {
public:
    BOOL Track(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) override {
        TPMPARAMS copy{};
        if (params) {
            copy = *params;
            copy.cbSize = sizeof copy;
        }
        return ::TrackPopupMenuEx(menu, flags, x, y, owner, params ? &copy : nullptr);
    }
};
SystemPresenter g_system;
IPopupMenuPresenter* g_presenter = &g_system;
}  // namespace

IPopupMenuPresenter* AfxSetPopupMenuPresenter(IPopupMenuPresenter* presenter) {
    IPopupMenuPresenter* old = g_presenter;
    g_presenter = presenter ? presenter : &g_system;
    return old;
}

BOOL AfxTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
    if (!menu) return FALSE;
    AfxHideThreadToolTips();
    return g_presenter->Track(menu, flags, x, y, owner, params);
}
