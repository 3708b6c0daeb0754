#include "app/PathParts.h"
#include <atomic>
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

namespace {

// Whether drive `letter` is redirected to the network, asked again after two seconds: both the
// network layer and the drive type cost about a millisecond per call under Wine, which adding a
// folder would pay for every file.
bool IsRemoteDrive(wchar_t letter) {
    static std::atomic<unsigned long long> known[26];   // checked tick << 8 | drive type, 0: never
    const int index = (letter | 0x20) - L'a';
    if (index < 0 || index >= 26) return true;   // not a drive letter: let the network layer say
    const unsigned long long now = GetTickCount64();
    const unsigned long long entry = known[index].load();
    if (entry != 0 && now - (entry >> 8) < 2000) return (entry & 0xFF) == DRIVE_REMOTE;
    const wchar_t root[4] = {letter, L':', L'\\', L'\0'};
    const UINT type = GetDriveTypeW(root);
    known[index].store((now << 8) | (type & 0xFF));
    return type == DRIVE_REMOTE;
}

}  // namespace

bool GetUniversalPath(std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/') && !IsRemoteDrive(path[0]))
        return false;
    // A share's path is its own network form; asking costs a third of a millisecond under Wine,
    // which an import of 100,000 tracks from a share would pay for every row.
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') return false;
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
