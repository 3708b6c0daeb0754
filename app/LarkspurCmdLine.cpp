#include "app/LarkspurCmdLine.h"
#include <cwchar>

void CLarkspurCmdLine::ParseParam(const wchar_t* param, BOOL isSwitch, BOOL) {
    if (!isSwitch || !param) return;
    if (const wchar_t* colon = std::wcschr(param, L':')) profileName = colon + 1;
}
