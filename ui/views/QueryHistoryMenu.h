#pragma once
#include "document/QueryHistory.h"
#include <windows.h>
#include <string>
#include <vector>

// The items of the history menus; item ids are this base plus the entry's index.
const UINT kHistoryMenuFirstId = 40000;
const UINT kHistoryMenuLastId = 40050;

struct HistoryMenuItem {
    UINT id;
    std::wstring text;
};

// The back menu lists the entries before the current one, the forward menu those after it,
// nearest first, as "01 : title": one-based numbers of at least two digits, a long text cut
// to 100 characters and "...", "&" doubled so that it shows instead of marking a mnemonic.
std::vector<HistoryMenuItem> BuildHistoryMenu(const CQueryHistory& history, bool back);
