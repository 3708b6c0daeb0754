#pragma once
#include "framework/ProfileFileWrite.h"
#include <windows.h>
#include <string>

// Accessor of one private-profile file (config.ini, a saved query). Files it creates start
// with a UTF-16LE byte-order mark, so that Japanese text survives the round trip. Every write
// rewrites the file whole and replaces it only once the new text is on the disk, so that a
// full disk or a failing medium never leaves it cut short.
class CIniFile {
public:
    CIniFile() = default;
    explicit CIniFile(std::wstring path) : m_path(std::move(path)) {}

    const std::wstring& GetPath() const { return m_path; }
    void SetPath(std::wstring path) { m_path = std::move(path); }

    // The file's size in bytes, or 32768 when it cannot be read.
    DWORD GetBufferSize() const;

    // Reads a string key; the buffer grows until the whole value fits. Returns whether
    // any character was read.
    bool GetString(std::wstring& target, const wchar_t* section, const wchar_t* key,
                   const wchar_t* def) const;
    int GetInt(const wchar_t* section, const wchar_t* key, int def) const;
    bool GetBool(const wchar_t* section, const wchar_t* key, bool def) const;
    // A structure written by WriteStruct: exact length and checksum, else false and
    // `data` unchanged.
    bool GetStruct(const wchar_t* section, const wchar_t* key, void* data, UINT size) const;
    // Every "key=value" line of a section, each followed by a zero character.
    std::wstring GetSection(const wchar_t* section) const;

    BOOL WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) const;
    BOOL WriteInt(const wchar_t* section, const wchar_t* key, int value) const;
    BOOL WriteBool(const wchar_t* section, const wchar_t* key, bool value) const;
    BOOL WriteStruct(const wchar_t* section, const wchar_t* key, const void* data, UINT size) const;
    BOOL EraseSection(const wchar_t* section) const;

    // The writes between BeginWrite and EndWrite are collected and reach the file together:
    // all of them or, when EndWrite returns false, none. Until then reads see the file as it
    // was.
    void BeginWrite() { m_writer.Begin(m_path); }
    bool EndWrite() { return m_writer.End(); }

    // Starts the file with a UTF-16LE byte-order mark when it is missing or empty.
    void EnsureUnicodeFile() const;

protected:
    std::wstring m_path;

private:
    mutable CProfileWriter m_writer;
};
