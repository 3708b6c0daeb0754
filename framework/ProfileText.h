#pragma once
#include <windows.h>
#include <string>
#include <unordered_map>
#include <vector>

// The lines of one private-profile file, edited in memory as the system's profile writer
// edits the file itself: a key written again keeps its place and its spelling, a new key
// goes to the end of its section, a new section to the end of the file; sections and lines
// nobody writes stay as they were. Section and key names match without regard to case.
class CProfileText {
public:
    enum class Encoding { Utf16Le, Utf16Be, Utf8, Ansi };

    // A file's bytes: a UTF-16 (either byte order) or UTF-8 byte-order mark gives the
    // encoding, anything else is text in the ANSI code page. No bytes: a new UTF-16LE file.
    void Parse(const std::vector<BYTE>& bytes);

    // As WritePrivateProfileStringW: a null key erases the section (every section of that
    // name), a null value erases the key, else the key gets the value. A line break in a name
    // or a value is written as a space, so that it cannot add a line of its own.
    void Write(const wchar_t* section, const wchar_t* key, const wchar_t* value);

    // The whole file: lines ended by CR LF, in the encoding read. An ANSI file that could no
    // longer hold its text becomes UTF-16LE, which every reader of these files reads too.
    std::vector<BYTE> Bytes() const;

private:
    struct Line {
        std::wstring text;
        bool erased = false;
    };
    struct Section {
        std::wstring header;      // the "[name]" line; the first section holds the lines before it
        bool erased = false;
        std::vector<Line> lines;
        // Folded key name -> its lines, the first one first.
        std::unordered_map<std::wstring, std::vector<size_t>> keys;
    };

    void AddLine(std::wstring line);
    static void AddKeyLine(Section& section, Line line);

    Encoding m_encoding = Encoding::Utf16Le;
    std::vector<Section> m_sections;
    // Folded section name -> its live sections, the first one first.
    std::unordered_map<std::wstring, std::vector<size_t>> m_index;
};
