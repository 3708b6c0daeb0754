#include "framework/CmdUpdate.h"

void AfxRunCommandUpdate(CCmdUI& ui, CCmdTarget* target, BOOL disableIfNoHandler) {
    if (!target) return;
    if (target->OnCmdMsg(ui.m_nID, CN_UPDATE_COMMAND_UI, &ui)) return;
    if (!disableIfNoHandler) return;
    CCmdHandlerProbe probe;
    target->OnCmdMsg(ui.m_nID, CN_COMMAND, &probe);
    ui.Enable(probe.found ? TRUE : FALSE);
}
