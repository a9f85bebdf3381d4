#include "framework.h"

const MessageMap* CCmdTarget::GetThisMessageMap() {
    static const MessageMapEntry entries[] = {{0, 0, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const MessageMapEntry* CCmdTarget::FindMessageEntry(UINT message, UINT id) const {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->call != nullptr; entry++) {
            if (entry->message == message && (message != WM_COMMAND || entry->id == id)) return entry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id) {
    const MessageMapEntry* entry = FindMessageEntry(WM_COMMAND, id);
    if (entry == nullptr) return FALSE;
    entry->call(this, 0, 0);
    return TRUE;
}
