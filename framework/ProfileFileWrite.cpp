#include "framework/ProfileFileWrite.h"
#include <algorithm>
#include <atomic>
#include <new>

namespace {

class FileSystemStore : public IProfileFileStore {
public:
    bool WriteNewFile(const std::wstring& path, const std::vector<BYTE>& bytes) override {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool ok = true;
        for (size_t done = 0; ok && done < bytes.size();) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            DWORD written = 0;
            ok = ::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
            done += written;
        }
        ok = ok && ::FlushFileBuffers(file);
        return ::CloseHandle(file) && ok;
    }
    bool ReplaceFile(const std::wstring& from, const std::wstring& to) override {
        return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
};

FileSystemStore g_fileSystem;
std::atomic<IProfileFileStore*> g_store{nullptr};

// The whole file; a missing file reads as empty. False when it is there but cannot be read.
bool ReadWholeFile(const std::wstring& path, std::vector<BYTE>& bytes) {
    bytes.clear();
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND;
    }
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart <= CProfileFileWrite::kMaxFileBytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
    }
    ::CloseHandle(file);
    return ok;
}

}  // namespace

IProfileFileStore* SetProfileFileStore(IProfileFileStore* store) { return g_store.exchange(store); }

IProfileFileStore& GetProfileFileStore() {
    IProfileFileStore* store = g_store.load();
    return store ? *store : g_fileSystem;
}

CProfileFileWrite::CProfileFileWrite(std::wstring path) : m_path(std::move(path)) {
    try {
        m_readable = !m_path.empty() && ReadWholeFile(m_path, m_original);
        if (m_readable) m_text.Parse(m_original);
    } catch (const std::bad_alloc&) {
        m_readable = false;
    }
}

void CProfileFileWrite::Write(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (m_readable) m_text.Write(section, key, value);
}

bool CProfileFileWrite::Commit() {
    if (!m_readable) return false;
    const std::wstring temporary = m_path + L".new";
    IProfileFileStore& store = GetProfileFileStore();
    try {
        const std::vector<BYTE> bytes = m_text.Bytes();
        // Nothing to write also succeeds on a medium that takes no writes.
        if (bytes == m_original) return true;
        if (store.WriteNewFile(temporary, bytes) && store.ReplaceFile(temporary, m_path)) {
            m_original = bytes;
            return true;
        }
    } catch (const std::bad_alloc&) {
    }
    ::DeleteFileW(temporary.c_str());
    return false;
}

void CProfileWriter::Begin(const std::wstring& path) { m_pending.reset(new CProfileFileWrite(path)); }

bool CProfileWriter::End() {
    std::unique_ptr<CProfileFileWrite> pending = std::move(m_pending);
    return pending && pending->Commit();
}

BOOL CProfileWriter::Write(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                           const wchar_t* value) {
    if (m_pending) {
        m_pending->Write(section, key, value);
        return TRUE;
    }
    CProfileFileWrite once(path);
    once.Write(section, key, value);
    return once.Commit() ? TRUE : FALSE;
}
