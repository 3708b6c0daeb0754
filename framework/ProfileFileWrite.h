#pragma once
#include "framework/ProfileText.h"
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

// Where a private-profile file's new text is written. Replaceable, so that tests can make a
// write fail part way.
class IProfileFileStore {
public:
    virtual ~IProfileFileStore() = default;
    // Writes `bytes` as the whole of a new file at `path` (one there is replaced), through
    // to the disk. False when any byte is not written.
    virtual bool WriteNewFile(const std::wstring& path, const std::vector<BYTE>& bytes) = 0;
    // Puts the file `from` in the place of `to`, which it replaces.
    virtual bool ReplaceFile(const std::wstring& from, const std::wstring& to) = 0;
};

// Replaces the store (null restores the file system's); returns the previous one.
IProfileFileStore* SetProfileFileStore(IProfileFileStore* store);
// The store in use.
IProfileFileStore& GetProfileFileStore();

// One file's writes, kept in memory and then written whole: the new text goes to "<file>.new"
// beside the file, which replaces the file only once every byte of it is on the disk. A
// failure at any step leaves the file exactly as it was.
class CProfileFileWrite {
public:
    // Reads the file as it is now (a missing file starts empty).
    explicit CProfileFileWrite(std::wstring path);

    // As WritePrivateProfileStringW, on the text in memory.
    void Write(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    // Writes the file; true also when its text is unchanged. False when the file could not be
    // read (its other sections would be lost) or the new one could not be written whole.
    bool Commit();

    // The largest file that is read for rewriting; a settings file is far smaller.
    static const DWORD kMaxFileBytes = 64 * 1024 * 1024;

private:
    std::wstring m_path;
    std::vector<BYTE> m_original;
    CProfileText m_text;
    bool m_readable = false;
};

// The writes of one file, each on its own or collected between Begin and End. A copy
// starts with nothing collected.
class CProfileWriter {
public:
    CProfileWriter() = default;
    CProfileWriter(const CProfileWriter&) {}
    CProfileWriter& operator=(const CProfileWriter&) { return *this; }

    // Collects the writes that follow for `path` (what an earlier Begin collected is dropped).
    void Begin(const std::wstring& path);
    // Writes what was collected; false when it could not be (or nothing was begun).
    bool End();
    // Collected, or written to the file at once.
    BOOL Write(const std::wstring& path, const wchar_t* section, const wchar_t* key, const wchar_t* value);

private:
    std::unique_ptr<CProfileFileWrite> m_pending;
};
