// The FFmpeg decoder inside the engine: every format family, lengths, family restriction and
// sample-accurate seeking.

#include <gtest/gtest.h>

#include <cmath>
#include <cwctype>
#include <string>
#include <vector>

#include "TestAudio.h"
#include "audio/AddonInterface.h"
#include "audio/Decoder.h"
#include "support/TestFiles.h"

using larkaudio::Decoder;

namespace {

constexpr DWORD kAll = 0x3FF;

std::vector<float> DecodeAll(Decoder& d) {
    std::vector<float> out;
    std::vector<float> chunk(4096 * d.Channels());
    for (;;) {
        const size_t n = d.Read(chunk.data(), 4096);
        if (n == 0) break;
        out.insert(out.end(), chunk.begin(), chunk.begin() + n * d.Channels());
    }
    return out;
}

// Crossings of zero upward per second in a mono signal.
double RisingCrossingsPerSecond(const std::vector<float>& s, int rate, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from + 1; i < to; ++i) n += (s[i - 1] < 0 && s[i] >= 0);
    return n * static_cast<double>(rate) / static_cast<double>(to - from);
}

struct FormatCase {
    const wchar_t* file;
    DWORD family;
    int lengthToleranceFrames;  // length the container reports, against one second
};

class DecoderFormats : public ::testing::TestWithParam<FormatCase> {};

}  // namespace

TEST_P(DecoderFormats, DecodesTheToneAtItsLength) {
    const FormatCase& c = GetParam();
    int error = 0;
    auto d = Decoder::Open(audio_test::DataFile(c.file), 0, 0, kAll, &error);
    ASSERT_TRUE(d) << "error " << error;
    EXPECT_EQ(c.family, d->Family());
    EXPECT_EQ(44100, d->Rate());
    EXPECT_EQ(1, d->Channels());
    // The container's length before decoding, and the exact count after.
    EXPECT_NEAR(44100, d->Length(), c.lengthToleranceFrames);
    const auto samples = DecodeAll(*d);
    EXPECT_TRUE(d->LengthExact());
    EXPECT_EQ(static_cast<int64_t>(samples.size()), d->Length());
    EXPECT_EQ(d->Length(), d->Position());
    EXPECT_NEAR(44100, static_cast<double>(samples.size()), c.lengthToleranceFrames);
    // The middle of the file is a 1 kHz tone at about half amplitude.
    const double hz = RisingCrossingsPerSecond(samples, 44100, 10000, 30000);
    EXPECT_NEAR(1000.0, hz, 10.0);
    float peak = 0;
    for (size_t i = 10000; i < 30000; ++i) peak = std::max(peak, std::fabs(samples[i]));
    EXPECT_NEAR(0.5, peak, 0.05);
}

// Lossless formats give the exact count; lossy ones add their codec's padding (FFmpeg's Vorbis
// decoder ends one short block early).
INSTANTIATE_TEST_SUITE_P(
    AllEncodable, DecoderFormats,
    ::testing::Values(FormatCase{L"tone.mp2", LARK_FAMILY_MPEG, 1152}, FormatCase{L"tone.mp3", LARK_FAMILY_MPEG, 1152},
                      FormatCase{L"tone.ogg", LARK_FAMILY_OGG, 128}, FormatCase{L"tone.wma", LARK_FAMILY_WMA, 2048},
                      FormatCase{L"tone_v1.wma", LARK_FAMILY_WMA, 2048},
                      FormatCase{L"tone.aac", LARK_FAMILY_AAC, 2048}, FormatCase{L"tone.m4a", LARK_FAMILY_MP4, 1024},
                      FormatCase{L"tone_alac.m4a", LARK_FAMILY_ALAC, 0},
                      FormatCase{L"tone.flac", LARK_FAMILY_FLAC, 0}, FormatCase{L"tone.tta", LARK_FAMILY_TTA, 0}),
    [](const ::testing::TestParamInfo<FormatCase>& info) {
        // "tone_alac.m4a" -> "tone_alac_m4a": test names allow letters, digits and "_" only.
        std::string name;
        for (const wchar_t* p = info.param.file; *p; ++p)
            name += iswalnum(*p) ? static_cast<char>(*p) : '_';
        return name;
    });

TEST(Decoder, WavWithUnicodeNameAndStereoRamp) {
    testing_support::TempDir dir;
    const std::wstring path = dir.file(L"試験\u266A.wav");
    ASSERT_TRUE(audio_test::WriteWav(path, 22050, 2, 5000, audio_test::Ramp()));
    int error = 0;
    auto d = Decoder::Open(path, 0, 0, LARK_FAMILY_WAV, &error);
    ASSERT_TRUE(d) << error;
    EXPECT_EQ(2, d->Channels());
    EXPECT_EQ(22050, d->Rate());
    EXPECT_EQ(16u, d->Resolution());
    EXPECT_EQ(5000, d->Length());
    EXPECT_EQ(44 + 5000 * 4, d->FileSize());
    const auto s = DecodeAll(*d);
    ASSERT_EQ(10000u, s.size());
    const auto ramp = audio_test::Ramp();
    for (int f : {0, 1, 2857, 4999}) {
        for (int c = 0; c < 2; ++c) EXPECT_NEAR(ramp(f, c), s[f * 2 + c], 1.0 / 32768) << f;
    }
}

TEST(Decoder, RefusesFilesOutsideTheAskedFamilies) {
    int error = 0;
    EXPECT_FALSE(Decoder::Open(audio_test::DataFile(L"tone.flac"), 0, 0, LARK_FAMILY_CORE, &error));
    EXPECT_EQ(BASS_ERROR_FILEFORM, error);
    // AAC in MP4 is not ALAC in MP4, and raw AAC is not AAC in MP4.
    EXPECT_FALSE(Decoder::Open(audio_test::DataFile(L"tone.m4a"), 0, 0, LARK_FAMILY_ALAC, &error));
    EXPECT_FALSE(Decoder::Open(audio_test::DataFile(L"tone_alac.m4a"), 0, 0, LARK_FAMILY_MP4, &error));
    EXPECT_FALSE(Decoder::Open(audio_test::DataFile(L"tone.aac"), 0, 0, LARK_FAMILY_MP4, &error));
    EXPECT_TRUE(Decoder::Open(audio_test::DataFile(L"tone.aac"), 0, 0, LARK_FAMILY_AAC, &error));
    EXPECT_FALSE(Decoder::Open(audio_test::DataFile(L"missing.mp3"), 0, 0, kAll, &error));
    EXPECT_EQ(BASS_ERROR_FILEOPEN, error);

    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"junk.mp3"), std::string(4000, 'x')));
    EXPECT_FALSE(Decoder::Open(dir.file(L"junk.mp3"), 0, 0, kAll, &error));
    EXPECT_EQ(BASS_ERROR_FILEFORM, error);
    ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"empty.wav"), std::string()));
    EXPECT_FALSE(Decoder::Open(dir.file(L"empty.wav"), 0, 0, kAll, &error));
}

TEST(Decoder, SeeksExactlyInLosslessFormats) {
    testing_support::TempDir dir;
    const std::wstring wav = dir.file(L"ramp.wav");
    ASSERT_TRUE(audio_test::WriteWav(wav, 44100, 2, 100000, audio_test::Ramp()));
    for (const std::wstring& path : {wav, audio_test::DataFile(L"tone.flac"), audio_test::DataFile(L"tone.tta"),
                                     audio_test::DataFile(L"tone_alac.m4a")}) {
        int error = 0;
        auto whole = Decoder::Open(path, 0, 0, kAll, &error);
        ASSERT_TRUE(whole);
        const auto all = DecodeAll(*whole);
        const int ch = whole->Channels();
        auto d = Decoder::Open(path, 0, 0, kAll, &error);
        // Forward, backward, to the start, and to the last frame.
        const int64_t frames = static_cast<int64_t>(all.size()) / ch;
        for (int64_t target : {int64_t{30001}, int64_t{1234}, int64_t{0}, frames / 2 + 77, frames - 1}) {
            ASSERT_TRUE(d->Seek(target)) << target;
            EXPECT_EQ(target, d->Position());
            std::vector<float> got(64 * ch);
            const size_t n = d->Read(got.data(), 64);
            ASSERT_GT(n, 0u);
            for (size_t i = 0; i < n * ch; ++i) {
                ASSERT_EQ(all[static_cast<size_t>(target) * ch + i], got[i]) << "target " << target << " at " << i;
            }
        }
        // Seeking to the end leaves nothing to read.
        ASSERT_TRUE(d->Seek(frames));
        float one[8];
        EXPECT_EQ(0u, d->Read(one, 1));
    }
}

TEST(Decoder, SeeksInLossyFormatsLandOnTheSameSound) {
    for (const wchar_t* name : {L"tone.mp3", L"tone.ogg", L"tone.m4a", L"tone.wma"}) {
        int error = 0;
        auto whole = Decoder::Open(audio_test::DataFile(name), 0, 0, kAll, &error);
        ASSERT_TRUE(whole) << name;
        const auto all = DecodeAll(*whole);
        auto d = Decoder::Open(audio_test::DataFile(name), 0, 0, kAll, &error);
        for (int64_t target : {int64_t{22050}, int64_t{5000}, int64_t{0}}) {
            ASSERT_TRUE(d->Seek(target));
            EXPECT_EQ(target, d->Position()) << name;
            std::vector<float> got(256);
            ASSERT_EQ(256u, d->Read(got.data(), 256));
            // Lossy decoders restart with a little difference; the waveform is the same.
            double diff = 0;
            for (int i = 0; i < 256; ++i) diff = std::max(diff, std::fabs(double(all[target + i]) - got[i]));
            EXPECT_LT(diff, 0.05) << name << " at " << target;
        }
    }
}
