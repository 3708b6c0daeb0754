#include "TagTestFiles.h"
#include "support/TestFiles.h"
#include "tags/EmbeddedCoverArt.h"
#include "tags/MemoryStream.h"
#include <climits>
#include <gtest/gtest.h>
#include <taglib/asfattribute.h>
#include <taglib/asffile.h>
#include <taglib/asfpicture.h>
#include <taglib/asftag.h>

using namespace tagReader;
using namespace testing_support;
using namespace tag_test;

namespace {

std::vector<unsigned char> FixtureBytes(const wchar_t* name) {
    return Bytes(ReadBytes(TestDataPath(std::wstring(L"tags/") + name)));
}

// Everything the stream gives from its current position.
std::vector<unsigned char> ReadAll(IStream* stream) {
    std::vector<unsigned char> out;
    unsigned char chunk[64];
    ULONG read = 0;
    while (stream->Read(chunk, sizeof chunk, &read) == S_OK) out.insert(out.end(), chunk, chunk + read);
    return out;
}

LARGE_INTEGER Offset(LONGLONG value) {
    LARGE_INTEGER li;
    li.QuadPart = value;
    return li;
}

}  // namespace

TEST(MemoryStream, ReadsAndSeeksWithinTheBlock) {
    std::vector<BYTE> block(100);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<BYTE>(i);
    IStream* stream = MemoryStream::Create(block.data(), block.data() + block.size());
    ASSERT_TRUE(stream);

    BYTE buffer[200];
    ULONG read = 0;
    EXPECT_EQ(S_OK, stream->Read(buffer, 10, &read));
    EXPECT_EQ(10u, read);
    EXPECT_EQ(9, buffer[9]);

    ULARGE_INTEGER position;
    EXPECT_EQ(S_OK, stream->Seek(Offset(100), STREAM_SEEK_SET, &position));
    EXPECT_EQ(100u, position.QuadPart);
    EXPECT_EQ(S_FALSE, stream->Read(buffer, 1, &read));
    EXPECT_EQ(0u, read);
    EXPECT_EQ(STG_E_INVALIDPOINTER, stream->Seek(Offset(101), STREAM_SEEK_SET, &position));
    EXPECT_EQ(STG_E_INVALIDPOINTER, stream->Seek(Offset(-1), STREAM_SEEK_SET, nullptr));
    EXPECT_EQ(S_OK, stream->Seek(Offset(-30), STREAM_SEEK_CUR, &position));   // position kept at 100 above
    EXPECT_EQ(70u, position.QuadPart);
    EXPECT_EQ(STG_E_INVALIDPOINTER, stream->Seek(Offset(31), STREAM_SEEK_CUR, nullptr));
    EXPECT_EQ(S_OK, stream->Seek(Offset(-100), STREAM_SEEK_END, &position));
    EXPECT_EQ(0u, position.QuadPart);
    EXPECT_EQ(STG_E_INVALIDPOINTER, stream->Seek(Offset(1), STREAM_SEEK_END, nullptr));
    EXPECT_EQ(E_INVALIDARG, stream->Seek(Offset(0), 7, nullptr));
    // Offsets at the ends of the 64-bit range fail without moving.
    EXPECT_EQ(STG_E_INVALIDPOINTER, stream->Seek(Offset(LLONG_MAX), STREAM_SEEK_CUR, nullptr));
    EXPECT_EQ(STG_E_INVALIDPOINTER, stream->Seek(Offset(LLONG_MAX), STREAM_SEEK_END, nullptr));
    EXPECT_EQ(STG_E_INVALIDPOINTER, stream->Seek(Offset(LLONG_MIN), STREAM_SEEK_END, nullptr));
    EXPECT_EQ(S_OK, stream->Seek(Offset(0), STREAM_SEEK_CUR, &position));
    EXPECT_EQ(0u, position.QuadPart);

    // A read asking for more than is left gets the rest.
    EXPECT_EQ(S_OK, stream->Seek(Offset(95), STREAM_SEEK_SET, nullptr));
    EXPECT_EQ(S_OK, stream->Read(buffer, 200, &read));
    EXPECT_EQ(5u, read);
    EXPECT_EQ(99, buffer[4]);
    EXPECT_EQ(0u, stream->Release());
}

TEST(MemoryStream, IsReadOnlyAndAnswersItsInterfaces) {
    BYTE block[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    IStream* stream = MemoryStream::Create(block, block + 8);
    ULONG written = 0;
    EXPECT_EQ(STG_E_ACCESSDENIED, stream->Write(block, 1, &written));
    ULARGE_INTEGER size;
    size.QuadPart = 4;
    EXPECT_EQ(STG_E_ACCESSDENIED, stream->SetSize(size));
    EXPECT_EQ(STG_E_ACCESSDENIED, stream->Revert());
    EXPECT_EQ(E_NOTIMPL, stream->Commit(0));
    EXPECT_EQ(E_NOTIMPL, stream->CopyTo(nullptr, size, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, stream->LockRegion(size, size, 0));
    EXPECT_EQ(E_NOTIMPL, stream->UnlockRegion(size, size, 0));

    STATSTG stat;
    ASSERT_EQ(S_OK, stream->Stat(&stat, STATFLAG_NONAME));
    EXPECT_EQ(nullptr, stat.pwcsName);
    EXPECT_EQ(3u, stat.type);   // 3 as callers expect, not the stream type 2
    EXPECT_EQ(8u, stat.cbSize.QuadPart);
    EXPECT_EQ(0x20u, stat.grfMode);

    ISequentialStream* sequential = nullptr;
    ASSERT_EQ(S_OK, stream->QueryInterface(IID_ISequentialStream, reinterpret_cast<void**>(&sequential)));
    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, stream->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    IStorage* storage = reinterpret_cast<IStorage*>(1);
    EXPECT_EQ(E_NOINTERFACE, stream->QueryInterface(IID_IStorage, reinterpret_cast<void**>(&storage)));
    EXPECT_EQ(nullptr, storage);
    EXPECT_EQ(2u, unknown->Release());
    EXPECT_EQ(1u, sequential->Release());
    EXPECT_EQ(0u, stream->Release());
}

TEST(MemoryStream, CloneStartsAtTheBeginning) {
    BYTE block[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    IStream* stream = MemoryStream::Create(block, block + 10);
    BYTE buffer[5];
    ULONG read;
    ASSERT_EQ(S_OK, stream->Read(buffer, 5, &read));
    IStream* clone = nullptr;
    ASSERT_EQ(S_OK, stream->Clone(&clone));
    EXPECT_EQ(std::vector<unsigned char>(block, block + 10), ReadAll(clone));
    EXPECT_EQ(std::vector<unsigned char>(block + 5, block + 10), ReadAll(stream));
    EXPECT_EQ(0u, clone->Release());
    EXPECT_EQ(0u, stream->Release());
}

TEST(EmbeddedCoverArt, Id3PicturesComeBackAsStored) {
    CoverImageBuffer png, jpeg;
    ASSERT_TRUE(LoadEmbeddedCoverArt(TestDataPath(L"tags/v24.mp3"), png, CoverArtId3v2));
    EXPECT_EQ(FixtureBytes(L"cover.png"), png.bytes);
    ASSERT_TRUE(png.stream);
    EXPECT_EQ(FixtureBytes(L"cover.png"), ReadAll(png.stream));
    ASSERT_TRUE(LoadEmbeddedCoverArt(TestDataPath(L"tags/v23.mp3"), jpeg, CoverArtId3v2));
    EXPECT_EQ(FixtureBytes(L"cover.jpg"), jpeg.bytes);
    EXPECT_EQ(CoverArtId3v2, jpeg.kind);
    CoverImageBuffer none;
    EXPECT_FALSE(LoadEmbeddedCoverArt(TestDataPath(L"tags/v1.mp3"), none, CoverArtId3v2));
    EXPECT_EQ(nullptr, none.stream);
}

TEST(EmbeddedCoverArt, JpegMissingItsFirstFiveBytesIsRepaired) {
    TempDir dir;
    std::string lost = std::string("\x10JFIF", 5) + std::string(20, '\x42');
    Id3v2Builder tag(3);
    tag.Frame("APIC", std::string("\0image/jpeg\0\x03\0", 14) + lost);
    ASSERT_TRUE(WriteBytes(dir.file(L"lost.mp3"), tag.Bytes()));
    CoverImageBuffer buffer;
    ASSERT_TRUE(LoadEmbeddedCoverArt(dir.file(L"lost.mp3"), buffer, CoverArtId3v2));
    EXPECT_EQ(Bytes(std::string("\xFF\xD8\xFF\xE0\x00", 5) + lost), buffer.bytes);
    EXPECT_EQ(lost.size() + 5, buffer.bytes.size());
}

TEST(EmbeddedCoverArt, Mp4FlacAndWmaPictures) {
    CoverImageBuffer mp4, flac, back, wmaNone;
    ASSERT_TRUE(LoadEmbeddedCoverArt(TestDataPath(L"tags/aac.m4a"), mp4, CoverArtMp4));
    EXPECT_EQ(FixtureBytes(L"cover.png"), mp4.bytes);
    ASSERT_TRUE(LoadEmbeddedCoverArt(TestDataPath(L"tags/tags.flac"), flac, CoverArtFlac));
    EXPECT_EQ(FixtureBytes(L"cover.png"), flac.bytes);
    EXPECT_FALSE(LoadEmbeddedCoverArt(TestDataPath(L"tags/backcover.flac"), back, CoverArtFlac));
    EXPECT_FALSE(LoadEmbeddedCoverArt(TestDataPath(L"tags/tags.wma"), wmaNone, CoverArtWma));

    // A WMA file with a picture attribute written by TagLib.
    TempDir dir;
    std::wstring path = CopyFixture(dir.path(), L"tags.wma", L"pic.wma");
    std::string jpeg = ReadBytes(TestDataPath(L"tags/cover.jpg"));
    {
        TagLib::ASF::File file(path.c_str());
        ASSERT_TRUE(file.isValid());
        TagLib::ASF::Picture picture;
        picture.setMimeType("image/jpeg");
        picture.setType(TagLib::ASF::Picture::FrontCover);
        picture.setDescription("front");
        picture.setPicture(TagLib::ByteVector(jpeg.data(), static_cast<unsigned>(jpeg.size())));
        file.tag()->setAttribute("WM/Picture", TagLib::ASF::Attribute(picture));
        ASSERT_TRUE(file.save());
    }
    CoverImageBuffer wma;
    ASSERT_TRUE(LoadEmbeddedCoverArt(path, wma, CoverArtWma));
    EXPECT_EQ(Bytes(jpeg), wma.bytes);
}

TEST(EmbeddedCoverArt, ApeCoverArtFollowsTheFirstZeroByte) {
    TempDir dir;
    std::string image(1000, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 13 + 1);
    std::string stream = ApeStream(8000, 1, 8000, 200);
    ASSERT_TRUE(WriteBytes(dir.file(L"c.ape"),
                           stream + ApeV2Tag({{"Cover Art (front)", "front.jpg" + std::string(1, '\0') + image, true}})));
    ASSERT_TRUE(WriteBytes(dir.file(L"nozero.ape"), stream + ApeV2Tag({{"Cover Art (front)", "abc", true}})));
    ASSERT_TRUE(WriteBytes(dir.file(L"empty.ape"),
                           stream + ApeV2Tag({{"Cover Art (front)", "name" + std::string(1, '\0'), true}})));
    CoverImageBuffer good, noZero, nothingAfter;
    ASSERT_TRUE(LoadEmbeddedCoverArt(dir.file(L"c.ape"), good, CoverArtApe));
    EXPECT_EQ(Bytes(image), good.bytes);
    EXPECT_EQ(1000u, good.bytes.size());
    EXPECT_FALSE(LoadEmbeddedCoverArt(dir.file(L"nozero.ape"), noZero, CoverArtApe));
    EXPECT_FALSE(LoadEmbeddedCoverArt(dir.file(L"empty.ape"), nothingAfter, CoverArtApe));
}

TEST(EmbeddedCoverArt, UnknownKindAndReleasedBuffer) {
    CoverImageBuffer buffer;
    EXPECT_FALSE(LoadEmbeddedCoverArt(TestDataPath(L"tags/v24.mp3"), buffer, 5));
    EXPECT_EQ(nullptr, buffer.stream);
    ASSERT_TRUE(LoadEmbeddedCoverArt(TestDataPath(L"tags/v24.mp3"), buffer, CoverArtId3v2));
    buffer.stream->AddRef();
    IStream* held = buffer.stream;
    // Loading again into the same buffer lets go of the old stream first.
    ASSERT_TRUE(LoadEmbeddedCoverArt(TestDataPath(L"tags/v23.mp3"), buffer, CoverArtId3v2));
    EXPECT_NE(held, buffer.stream);
    EXPECT_EQ(0u, held->Release());
    buffer.Release();
    EXPECT_EQ(nullptr, buffer.stream);
    EXPECT_TRUE(buffer.bytes.empty());
}

TEST(EmbeddedCoverArt, KindByTagType) {
    int kind = -1;
    for (int type : {1, 2, 4, 8, 16, 32, 64, 4096}) {
        ASSERT_TRUE(CoverArtKindForTagType(type, kind)) << type;
        EXPECT_EQ(CoverArtId3v2, kind);
    }
    ASSERT_TRUE(CoverArtKindForTagType(512, kind));
    EXPECT_EQ(CoverArtWma, kind);
    ASSERT_TRUE(CoverArtKindForTagType(1024, kind));
    EXPECT_EQ(CoverArtMp4, kind);
    ASSERT_TRUE(CoverArtKindForTagType(2048, kind));
    EXPECT_EQ(CoverArtFlac, kind);
    ASSERT_TRUE(CoverArtKindForTagType(8192, kind));
    EXPECT_EQ(CoverArtApe, kind);
    EXPECT_FALSE(CoverArtKindForTagType(128, kind));
    EXPECT_FALSE(CoverArtKindForTagType(256, kind));
}
