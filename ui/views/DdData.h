#pragma once
#include "framework/OleDataSource.h"
#include <cstdint>
#include <string>

class COleDataObject;
class PlaylistCache;

// One cell of the play list as it travels in a drag: the row's rowid in `list` and the
// column type under the drag start.
struct DdDataCell {
    int64_t rowid = -1;
    int columnType = -1;
};

// The private clipboard format "Larkspur2006 DDData", registered on first use. Its data is a
// 16-byte block: the rowid (64-bit, little-endian), the column type (32-bit), 4 zero bytes.
CLIPFORMAT GetDdDataFormat();
const size_t kDdDataBlockSize = 16;
void PackDdDataBlock(const DdDataCell& cell, unsigned char (&block)[kDdDataBlockSize]);
DdDataCell UnpackDdDataBlock(const unsigned char (&block)[kDdDataBlockSize]);

// Reads the cell of dropped data; false when the data offers no such cell (not the private
// format, or a block shorter than 16 bytes).
bool ReadDdData(const COleDataObject& data, DdDataCell& cell);

// The data of one dragged cell: the private format, and the cell's display text as CF_TEXT
// and CF_UNICODETEXT when it is not empty. The play list it came from rides along for the
// source's own use; no format carries it.
class CDdData : public COleDataSource {
public:
    CDdData() = default;

    int64_t m_rowid = -1;
    int m_columnType = -1;
    std::wstring m_text;
    PlaylistCache* m_playlist = nullptr;

    // Offers the formats for the values set above.
    void OfferFormats();
    BOOL OnRenderGlobalData(const FORMATETC* formatEtc, HGLOBAL* global) override;
};
