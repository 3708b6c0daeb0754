#include "app/Base64.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Characters outside the alphabet decode as 0.
struct DecodeTable {
    unsigned char value[256];
    DecodeTable() {
        for (int i = 0; i < 256; ++i) value[i] = 0;
        for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
    }
    unsigned operator()(wchar_t c) const { return c < 256 ? value[c] : 0; }
};

const DecodeTable& Table() {
    static const DecodeTable table;
    return table;
}

}  // namespace

int Base64Encode(const unsigned char* bytes, wchar_t* out, int outCapacity, int byteCount) {
    int needed = ((byteCount - 1) / 3) * 4 + 4;
    if (!bytes || !out || byteCount <= 0 || outCapacity < needed) return -needed;
    int o = 0;
    int i = 0;
    for (; i + 3 <= byteCount; i += 3) {
        unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        out[o++] = kAlphabet[(v >> 18) & 63];
        out[o++] = kAlphabet[(v >> 12) & 63];
        out[o++] = kAlphabet[(v >> 6) & 63];
        out[o++] = kAlphabet[v & 63];
    }
    int rest = byteCount - i;
    if (rest == 1) {
        unsigned v = bytes[i] << 16;
        out[o++] = kAlphabet[(v >> 18) & 63];
        out[o++] = kAlphabet[(v >> 12) & 63];
        out[o++] = L'=';
        out[o++] = L'=';
    } else if (rest == 2) {
        unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8);
        out[o++] = kAlphabet[(v >> 18) & 63];
        out[o++] = kAlphabet[(v >> 12) & 63];
        out[o++] = kAlphabet[(v >> 6) & 63];
        out[o++] = L'=';
    }
    return o;
}

int Base64Decode(const wchar_t* chars, unsigned char* out, int outCapacity, int charCount) {
    int maxBytes = (charCount / 4) * 3;
    if (!chars || !out || charCount <= 0 || outCapacity < maxBytes) return -maxBytes;
    const DecodeTable& table = Table();
    int o = 0;
    int i = 0;
    while (charCount - i > 3) {
        wchar_t c = chars[i];
        if (c == L'\0' || c == L'\n' || c == L'\r' || c == L' ' || c == L'=') {
            ++i;
            continue;
        }
        if (chars[i + 1] == L'=') {
            i += 2;
            continue;
        }
        unsigned v = (table(chars[i]) << 18) | (table(chars[i + 1]) << 12) |
                     (table(chars[i + 2]) << 6) | table(chars[i + 3]);
        int n = chars[i + 2] == L'=' ? 1 : chars[i + 3] == L'=' ? 2 : 3;
        // Skipped characters shift the groups; never write past the capacity.
        if (o + n > outCapacity) break;
        out[o++] = static_cast<unsigned char>(v >> 16);
        if (n > 1) out[o++] = static_cast<unsigned char>(v >> 8);
        if (n > 2) out[o++] = static_cast<unsigned char>(v);
        i += 4;
    }
    return o;
}
