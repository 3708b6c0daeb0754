#pragma once
#include <string>

// Doubles every "'" so the text can stand inside an SQL string literal.
std::wstring EscapeSqlQuotes(const std::wstring& text);

// Makes a text match itself literally inside a quoted GLOB pattern: "'" becomes "''",
// "[" becomes "[[]", "*" becomes "[*]" and "?" becomes "[?]".
std::wstring EscapeGlobLiteral(const std::wstring& text);
