#pragma once
#include <string>

// UTF-16LE bytes as the tests write and read them (wchar_t is 16 bits here).
namespace app_test {

// The UTF-16LE bytes of a text, without byte-order mark or terminator.
std::string Utf16LeBytes(const std::wstring& text);
// The text of UTF-16LE file bytes that begin with a byte-order mark; empty when shorter.
std::wstring Utf16FileText(const std::string& bytes);

}  // namespace app_test
