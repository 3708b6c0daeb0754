#include "ui/views/QueryHistoryMenu.h"
#include <cwchar>

namespace {

const size_t kItemTextMax = 100;

HistoryMenuItem MakeItem(const CQueryHistory& history, int index) {
    wchar_t number[16];
    swprintf(number, 16, L"%02d : ", index + 1);
    std::wstring text = number + history.entries[static_cast<size_t>(index)].title;
    if (text.size() > kItemTextMax) {
        size_t length = kItemTextMax;
        if (IS_HIGH_SURROGATE(text[length - 1])) --length;
        text = text.substr(0, length) + L"...";
    }
    for (size_t at = 0; (at = text.find(L'&', at)) != std::wstring::npos; at += 2) text.insert(at, 1, L'&');
    return {kHistoryMenuFirstId + static_cast<UINT>(index), text};
}

}  // namespace

std::vector<HistoryMenuItem> BuildHistoryMenu(const CQueryHistory& history, bool back) {
    std::vector<HistoryMenuItem> items;
    const int count = static_cast<int>(history.entries.size());
    if (count == 0 || history.current < 0 || history.current >= count) return items;
    if (back) {
        for (int i = history.current - 1; i >= 0; --i) items.push_back(MakeItem(history, i));
    } else {
        for (int i = history.current + 1; i < count; ++i) items.push_back(MakeItem(history, i));
    }
    return items;
}
