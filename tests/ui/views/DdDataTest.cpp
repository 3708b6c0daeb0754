// The data of a cell dragged out of the play list, read as a drop target reads it.
#include "framework/OleDataObject.h"
#include "support/TestDataObject.h"
#include "ui/views/DdData.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

const bool kOle = (testing_support::InstallOleEnvironment(), true);

// The bytes of one format of `data` in global memory; `ok` false when it is not given.
std::string Bytes(IDataObject* data, CLIPFORMAT format, bool& ok) {
    COleDataObject reader;
    reader.Attach(data, FALSE);
    HGLOBAL global = reader.GetGlobalData(format);
    ok = global != nullptr;
    std::string bytes;
    if (global) {
        const char* p = static_cast<const char*>(::GlobalLock(global));
        bytes.assign(p, ::GlobalSize(global));
        ::GlobalUnlock(global);
        ::GlobalFree(global);
    }
    return bytes;
}

std::wstring Utf16(const std::string& bytes) {
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
    return text;
}

// Stands for the system's drag loop: reads what is offered and answers with an effect.
class RecordingDrag : public IDragDropRunner {
public:
    RecordingDrag() { m_previous = AfxSetDragDropRunner(this); }
    ~RecordingDrag() override { AfxSetDragDropRunner(m_previous); }
    DROPEFFECT Run(IDataObject* data, DWORD allowed) override {
        ++runs;
        allowedEffects = allowed;
        COleDataObject reader;
        reader.Attach(data, FALSE);
        ReadDdData(reader, cell);
        return DROPEFFECT_COPY;
    }
    int runs = 0;
    DWORD allowedEffects = 0;
    DdDataCell cell;

private:
    IDragDropRunner* m_previous = nullptr;
};

TEST(DdDataTest, CellWithTextOffersTextsThenPrivateBlockWithTheWholeRowid) {
    CDdData data;
    data.m_rowid = (int64_t(1) << 32) + 7;   // beyond 32 bits
    data.m_columnType = 15;
    data.m_text = L"ゆめ 30";
    data.OfferFormats();

    const auto& offered = data.GetOfferedFormats();
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0].cfFormat, CF_TEXT);
    EXPECT_EQ(offered[1].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(offered[2].cfFormat, GetDdDataFormat());

    IDataObject* object = data.GetDataObject();
    bool ok = false;
    const std::string block = Bytes(object, GetDdDataFormat(), ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(block.size(), kDdDataBlockSize);
    const unsigned char expected[16] = {7, 0, 0, 0, 1, 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(block.data(), expected, 16), 0);

    COleDataObject reader;
    reader.Attach(object, FALSE);
    DdDataCell cell;
    ASSERT_TRUE(ReadDdData(reader, cell));
    EXPECT_EQ(cell.rowid, data.m_rowid);
    EXPECT_EQ(cell.columnType, 15);

    EXPECT_EQ(Utf16(Bytes(object, CF_UNICODETEXT, ok)), std::wstring(L"ゆめ 30") + L'\0');
    // The ANSI text is in the thread's code page (932 here), with its terminator.
    char ansi[32] = {};
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, L"ゆめ 30", -1, ansi, sizeof ansi, nullptr, nullptr);
    EXPECT_EQ(Bytes(object, CF_TEXT, ok), std::string(ansi, std::strlen(ansi) + 1));
    EXPECT_EQ(Bytes(object, CF_DIB, ok), "");
    EXPECT_FALSE(ok);
    object->Release();
}

TEST(DdDataTest, CellWithoutTextOffersOnlyThePrivateFormatInGlobalMemory) {
    CDdData data;
    data.m_rowid = 3;
    data.m_columnType = 6;
    data.OfferFormats();
    ASSERT_EQ(data.GetOfferedFormats().size(), 1u);
    IDataObject* object = data.GetDataObject();
    FORMATETC text{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_NE(object->QueryGetData(&text), S_OK);
    // Another medium is refused.
    FORMATETC stream{GetDdDataFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    STGMEDIUM medium{};
    EXPECT_NE(object->GetData(&stream, &medium), S_OK);
    bool ok = false;
    Bytes(object, GetDdDataFormat(), ok);
    EXPECT_TRUE(ok);
    object->Release();
}

TEST(DdDataTest, DataHeldAfterTheDragGivesNothingAndForeignDataReadsAsNoCell) {
    IDataObject* kept = nullptr;
    {
        CDdData data;
        data.m_rowid = 1;
        data.m_columnType = 1;
        data.m_text = L"x";
        data.OfferFormats();
        kept = data.GetDataObject();
    }
    bool ok = true;
    Bytes(kept, GetDdDataFormat(), ok);
    EXPECT_FALSE(ok);
    kept->Release();

    auto* foreign = new testing_support::TestDataObject;
    foreign->SetBytes(GetDdDataFormat(), std::string(8, '\1'));   // too short
    COleDataObject reader;
    reader.Attach(foreign, TRUE);
    DdDataCell cell;
    EXPECT_FALSE(ReadDdData(reader, cell));
    EXPECT_EQ(cell.rowid, -1);
}

TEST(DdDataTest, DragRunsThroughTheRunnerWithTheAllowedEffects) {
    RecordingDrag drag;
    CDdData data;
    data.m_rowid = 42;
    data.m_columnType = 2;
    data.m_text = L"アーティスト";
    data.OfferFormats();
    EXPECT_EQ(data.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_LINK | DROPEFFECT_SCROLL), DROPEFFECT_COPY);
    EXPECT_EQ(drag.runs, 1);
    EXPECT_EQ(drag.allowedEffects, DWORD(DROPEFFECT_COPY | DROPEFFECT_LINK | DROPEFFECT_SCROLL));
    EXPECT_EQ(drag.cell.rowid, 42);
    EXPECT_EQ(drag.cell.columnType, 2);
}

}  // namespace
