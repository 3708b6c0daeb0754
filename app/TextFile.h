#pragma once
#include <string>
#include <vector>

// A text file of undeclared encoding, split into lines. Every line but the last ends
// with CR LF.
struct TextFileLines {
    enum Encoding { Short = 0, Ansi = 1, Utf8Bom = 4, Utf8 = 5, Utf16Le = 6 };
    int encoding = Short;
    std::vector<std::wstring> lines;
};

bool IsValidUtf8(size_t count, const unsigned char* bytes);
bool LoadTextFile(TextFileLines& lines, const std::wstring& path);
