#include "ControlFrameFixture.h"

namespace control_test {

int64_t ControlFrameFixture::AddTrack(const std::wstring& name, const std::wstring& title, const std::wstring& artist,
                                      double seconds) {
    const std::wstring path = dir.file(name);
    std::vector<int16_t> samples(static_cast<size_t>(seconds * 44100), 3000);
    if (!testing_support::WriteBytes(path, doc_test::PcmWaveBytes(1, 44100, samples))) return -1;
    TrackRecord t = doc_test::MakeTrack(path, title, artist);
    t.infoCodec = 5;
    sqlite3_stmt* insert = nullptr;
    if (doc->GetDatabase().prepare(doc->GetSqlInsert(), &insert) != 0) return -1;
    const bool bound = BindTrackForInsert(insert, t);
    sqlite3_finalize(insert);
    return bound ? sqlite3_last_insert_rowid(doc->GetDatabase().handle()) : -1;
}

bool ControlFrameFixture::LoadPlaylist(const std::wstring& sql) {
    return doc->SetQuery(L"すべて", sql, true);
}

}  // namespace control_test
