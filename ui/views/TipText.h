#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

// Puts a tooltip's text into the notification's own buffer, cut so that the text and its
// terminator fit.
void SetTipText(NMTTDISPINFOW& info, const std::wstring& text);
