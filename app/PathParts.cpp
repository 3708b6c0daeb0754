#include "app/PathParts.h"
#include <windows.h>
#include <winnetwk.h>
#include <vector>

bool SplitPath(PathParts& parts, const std::wstring& path) {
    parts = PathParts();
    if (path.empty()) return false;

    size_t pos = 0;
    if (path.size() >= 2 && path[1] == L':') {
        parts.drive = path.substr(0, 2);
        pos = 2;
    }
    size_t lastSlash = path.find_last_of(L"\\/");
    size_t nameStart = pos;
    if (lastSlash != std::wstring::npos && lastSlash >= pos) {
        parts.dir = path.substr(pos, lastSlash + 1 - pos);
        nameStart = lastSlash + 1;
    }
    std::wstring name = path.substr(nameStart);
    size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos) {
        parts.fname = name;
    } else {
        parts.fname = name.substr(0, dot);
        parts.ext = name.substr(dot);
    }
    return true;
}

bool GetUniversalPath(std::wstring& path) {
    std::vector<BYTE> buffer(1040);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD rc = WNetGetUniversalNameW(path.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
        if (rc == NO_ERROR) {
            const UNIVERSAL_NAME_INFOW* info = reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(buffer.data());
            if (!info->lpUniversalName || !*info->lpUniversalName) return false;
            path = info->lpUniversalName;
            return true;
        }
        if (rc != ERROR_MORE_DATA || size <= buffer.size()) return false;
        buffer.resize(size);
    }
    return false;
}
