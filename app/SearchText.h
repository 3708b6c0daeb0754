#pragma once
#include <string>

// Upper case, hiragana, half width: the form in which searches compare texts.
// False and the text unchanged when the mapping fails.
bool NormalizeSearchText(const std::wstring& text, std::wstring& result);
