#pragma once

// Standard alphabet with "=" padding. Encode returns the characters written, or the
// negated needed length when the output is too small or there is nothing to encode.
int Base64Encode(const unsigned char* bytes, wchar_t* out, int outCapacity, int byteCount);
// Returns the bytes written, or the negated capacity needed.
int Base64Decode(const wchar_t* chars, unsigned char* out, int outCapacity, int charCount);
