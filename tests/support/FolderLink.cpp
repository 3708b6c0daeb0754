#include "support/FolderLink.h"
#include "support/TestFiles.h"
#include <windows.h>
#include <winioctl.h>
#include <cstring>
#include <vector>

namespace testing_support {

namespace {

std::wstring WithoutTrailingBackslash(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

// A mount-point reparse point on the empty folder `link`.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    bool made = false;
    if (folder != INVALID_HANDLE_VALUE) {
        // Tag, data length, reserved; then the offsets and lengths in bytes of the NT path
        // and of the shown path, and both paths with their terminating NULs.
        const std::wstring nt = L"\\??\\" + target;
        const size_t ntBytes = nt.size() * sizeof(wchar_t), printBytes = target.size() * sizeof(wchar_t);
        std::vector<BYTE> buffer(16 + ntBytes + printBytes + 2 * sizeof(wchar_t));
        auto put16 = [&buffer](size_t at, size_t value) {
            const WORD word = static_cast<WORD>(value);
            memcpy(&buffer[at], &word, 2);
        };
        const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
        memcpy(&buffer[0], &tag, 4);
        put16(4, buffer.size() - 8);
        put16(8, 0);
        put16(10, ntBytes);
        put16(12, ntBytes + sizeof(wchar_t));
        put16(14, printBytes);
        memcpy(&buffer[16], nt.c_str(), ntBytes);
        memcpy(&buffer[16 + ntBytes + sizeof(wchar_t)], target.c_str(), printBytes);
        DWORD returned = 0;
        made = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                               nullptr, 0, &returned, nullptr) != FALSE;
        CloseHandle(folder);
    }
    if (!made) RemoveDirectoryW(link.c_str());
    return made;
}

// The Unix form of a Windows path under Wine; empty on Windows.
std::string UnixPath(const std::wstring& path) {
    using Function = char*(CDECL*)(const wchar_t*);
    auto function = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!function) return {};
    char* name = function(path.c_str());
    if (!name) return {};
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Starts a Unix program under Wine and waits until `path` exists (or no longer does): Wine
// gives no handle for a Unix process to wait on.
bool RunUnixUntil(const std::string& commandLine, const std::wstring& path, bool present) {
    std::wstring command = FromUtf8(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    for (int attempt = 0; attempt < 3000; ++attempt) {
        if (FileExists(path) == present) return true;
        Sleep(10);
    }
    return false;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

FolderLink::FolderLink(const std::wstring& link, const std::wstring& target) : m_link(WithoutTrailingBackslash(link)) {
    const std::wstring to = WithoutTrailingBackslash(target);
    if (MakeJunction(m_link, to)) {
        m_made = true;
        return;
    }
    // The link's own name is not there yet: its folder's Unix path and the name.
    const size_t slash = m_link.rfind(L'\\');
    const std::string folder = UnixPath(m_link.substr(0, slash)), unixTarget = UnixPath(to);
    if (slash == std::wstring::npos || folder.empty() || unixTarget.empty()) return;
    m_unixLink = folder + "/" + ToUtf8(m_link.substr(slash + 1));
    m_made = RunUnixUntil("/bin/ln -s " + Quoted(unixTarget) + " " + Quoted(m_unixLink), m_link, true);
}

FolderLink::~FolderLink() {
    if (!m_made) return;
    // Wine's RemoveDirectoryW and DeleteFileW refuse a Linux link; a junction goes by itself.
    if (!m_unixLink.empty()) RunUnixUntil("/bin/rm -f " + Quoted(m_unixLink), m_link, false);
    else RemoveDirectoryW(m_link.c_str());
}

}  // namespace testing_support
