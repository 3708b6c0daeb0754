#include "ui/views/KanaBaseTable.h"

std::map<wchar_t, wchar_t>& KanaBaseTable() {
    static std::map<wchar_t, wchar_t> table;
    return table;
}

void FillKanaBaseTable() {
    static const wchar_t kPairs[][2] = {
        {L'が', L'か'}, {L'ぎ', L'き'}, {L'ぐ', L'く'}, {L'げ', L'け'}, {L'ご', L'こ'},
        {L'ざ', L'さ'}, {L'じ', L'し'}, {L'ず', L'す'}, {L'ぜ', L'せ'}, {L'ぞ', L'そ'},
        {L'だ', L'た'}, {L'ぢ', L'ち'}, {L'づ', L'つ'}, {L'で', L'て'}, {L'ど', L'と'},
        {L'ば', L'は'}, {L'び', L'ひ'}, {L'ぶ', L'ふ'}, {L'べ', L'へ'}, {L'ぼ', L'ほ'},
        {L'ぱ', L'は'}, {L'ぴ', L'ひ'}, {L'ぷ', L'ふ'}, {L'ぺ', L'へ'}, {L'ぽ', L'ほ'},
    };
    auto& table = KanaBaseTable();
    for (const auto& pair : kPairs) table.insert({pair[0], pair[1]});
}
