#include "ui/views/ActionCodes.h"
#include "app/AppSettings.h"

bool IsActionCode(int code) {
    if (code == ActionNone || code == ActionFocusInfoPane) return true;
    for (const HotKeyAction* a = HotKeyActionsBegin(); a != HotKeyActionsEnd(); ++a)
        if (a->action == code) return true;
    return false;
}
