#pragma once
#include <string>

struct id3_file;
struct id3_tag;

namespace tagReader {

// Opens a file read-only by its wide path (never through the ANSI code page); null on failure.
// A file whose ID3v2 tag claims more bytes than the file holds is refused too, with
// *truncatedTag set. Close with id3_file_close.
id3_file* OpenId3File(const std::wstring& path, bool* truncatedTag = nullptr);

// The text of the first frame with the identifier; the last string of a multi-string frame
// stands. "TCON" numeric genre references become genre names.
bool GetId3TextFrame(const id3_tag* tag, const char* frameId, std::wstring& text);
// The full text of the first "COMM" frame.
bool GetId3Comment(const id3_tag* tag, std::wstring& text);
// True, with the text "APIC", when the first "APIC" frame carries a MIME type.
bool HasId3Picture(const id3_tag* tag, std::wstring& text);

}  // namespace tagReader
