#pragma once
#include <map>

// Each voiced or semi-voiced hiragana mapped to its plain kana (が -> か, ぱ -> は, ...):
// filled by the main frame's constructor, read by the group view's index.
std::map<wchar_t, wchar_t>& KanaBaseTable();
// Puts the 25 pairs into the table (the main frame's constructor).
void FillKanaBaseTable();
