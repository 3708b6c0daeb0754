#pragma once
#include <windows.h>
#include <string>

// Puts `text` on the clipboard as Unicode text; false when another program holds the
// clipboard or the text could not be stored (the memory is then freed here).
bool CopyTextToClipboard(HWND owner, const std::wstring& text);
