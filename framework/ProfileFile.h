#pragma once
#include <windows.h>
#include <string>

// Reading and creating private-profile files, shared by the framework's profile functions and
// the program's settings files.

// Reads a string key with a buffer that starts at `initialChars` and doubles until the whole
// value fits. Returns the number of characters read.
DWORD ReadProfileString(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                        const wchar_t* def, std::wstring& value, DWORD initialChars = 256);

// Creates a missing file, or fills an empty one, with a UTF-16LE byte-order mark, so that the
// system's profile writer keeps it in UTF-16 and any text survives. A file that holds
// anything is left as it is.
void CreateUnicodeProfileFile(const std::wstring& file);
