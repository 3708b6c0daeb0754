#include "framework/CmdTarget.h"

const MessageMap* CCmdTarget::GetThisMessageMap() {
    static const MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMapEntry* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    const bool byId = message == WM_COMMAND || message == WM_NOTIFY ||
                      message == WM_REFLECT_BASE + WM_COMMAND || message == WM_REFLECT_BASE + WM_NOTIFY;
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->invoke; ++e) {
            const UINT msg = e->registered ? *e->registered : e->message;
            if (msg != message || (e->registered && msg == 0)) continue;
            if (byId && (e->code != code || id < e->idFirst || id > e->idLast)) continue;
            return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code, void* extra) {
    const MessageMapEntry* e = FindEntry(WM_COMMAND, code, id);
    if (!e) return FALSE;
    if (code == CN_COMMAND && extra) {
        static_cast<CCmdHandlerProbe*>(extra)->found = true;
        return TRUE;
    }
    LRESULT ignored = 0;
    return e->invoke(this, id, reinterpret_cast<LPARAM>(extra), ignored) ? TRUE : FALSE;
}
