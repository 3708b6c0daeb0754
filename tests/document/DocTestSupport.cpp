#include "DocTestSupport.h"
#include "app/ViewHints.h"
#include "document/PlaylistLoader.h"

namespace doc_test {

void RecordingView::OnUpdate(CView*, LPARAM hint, CObject* object) {
    bool clear = false;
    if (auto* library = dynamic_cast<CUpdateViewLibrary*>(object)) clear = library->clearLists;
    hints.push_back({hint, object, clear});
}

long long Library::Scalar(const std::wstring& sql) {
    sqlite3_stmt* stmt = nullptr;
    long long value = -1;
    if (db().prepare(sql, &stmt) == SQLITE_OK && stmt && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    if (stmt) sqlite3_finalize(stmt);
    return value;
}

std::wstring Library::Text(const std::wstring& sql) {
    sqlite3_stmt* stmt = nullptr;
    std::wstring value = L"<no row>";
    if (db().prepare(sql, &stmt) == SQLITE_OK && stmt && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_type(stmt, 0) == SQLITE_NULL ? L"<null>" : CSQlite::column_text16_or_empty(stmt, 0);
    if (stmt) sqlite3_finalize(stmt);
    return value;
}

int Library::PlaylistRows() {
    PlaylistCache cache;
    LoadPlaylistCache(db(), cache, nullptr, nullptr);
    return cache.size();
}

bool Library::Insert(const TrackRecord& t) {
    sqlite3_stmt* stmt = nullptr;
    if (db().prepare(doc.GetSqlInsert(), &stmt) != SQLITE_OK) return false;
    bool ok = BindTrackForInsert(stmt, t);
    sqlite3_finalize(stmt);
    return ok;
}

std::string PcmWaveBytes(int channels, int rate, const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string b;
    auto put = [&](uint32_t v, int n) { b.append(reinterpret_cast<const char*>(&v), n); };
    b += "RIFF";
    put(36 + dataBytes, 4);
    b += "WAVEfmt ";
    put(16, 4);
    put(1, 2);   // PCM
    put(static_cast<uint32_t>(channels), 2);
    put(static_cast<uint32_t>(rate), 4);
    put(static_cast<uint32_t>(rate * channels * 2), 4);
    put(static_cast<uint32_t>(channels * 2), 2);
    put(16, 2);
    b += "data";
    put(dataBytes, 4);
    for (int16_t s : samples) put(static_cast<uint16_t>(s), 2);
    return b;
}

TrackRecord MakeTrack(const std::wstring& path, const std::wstring& title, const std::wstring& artist,
                      const std::wstring& album, const std::wstring& track) {
    TrackRecord t;
    t.file_name = path;
    size_t slash = path.rfind(L'\\');
    size_t dot = path.rfind(L'.');
    t.file_title = path.substr(slash + 1, dot == std::wstring::npos ? std::wstring::npos : dot - slash - 1);
    t.file_ext = dot == std::wstring::npos ? L"" : path.substr(dot);
    t.tagTitle = title;
    t.tagArtist = artist;
    t.tagAlbum = album;
    t.tagTracknumber = track;
    t.infoCodec = 3;
    t.infoCodec_sub = L"MPEG 1 Layer 3";
    t.infoTagtype = 32;
    return t;
}

}  // namespace doc_test
