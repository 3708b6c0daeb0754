#include "ui/dialogs/PropertyRows.h"
#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include "app/SqlEscape.h"
#include "app/TrackRecord.h"
#include "document/DBError.h"
#include "document/PlaylistLoader.h"
#include <sqlite3.h>
#include <windows.h>
#include <cmath>
#include <cstdarg>
#include <cwchar>

namespace {

std::wstring Format(const wchar_t* format, ...) {
    wchar_t buffer[256];
    va_list args;
    va_start(args, format);
    int n = vswprintf(buffer, 256, format, args);
    va_end(args);
    return n < 0 ? std::wstring() : std::wstring(buffer, static_cast<size_t>(n));
}

// The play list's text of column `type` for a record holding only the values set by `fill`.
template <typename Fill>
std::wstring ColumnText(int type, const std::wstring& dateFormat, Fill fill) {
    TrackRecord t;
    fill(t);
    std::wstring text;
    GetColumnText(t, type, text, dateFormat);
    return text;
}

std::wstring DateText(int64_t time, const std::wstring& format) {
    return ColumnText(ColLastPlayed, format, [&](TrackRecord& t) { t.lastplayed = time; });
}

std::wstring ByteSizeText(int64_t bytes) {
    std::wstring text;
    FormatByteSize(text, bytes, true);
    return text;
}

std::wstring DurationText(int64_t seconds) {
    std::wstring text;
    FormatDuration(text, seconds);
    return text;
}

std::wstring TagTypeText(int tagType) {
    switch (tagType) {
    case 0: return L"--";
    case 128: return L"Ogg";
    case 256: return L"RIFF";
    case 512: return L"WMA";
    case 1024: return L"MP4";
    case 2048: return L"Flac";
    case 8192: return L"ID3v1/APEv1/APEv2";
    default: return L"ID3v1/ID3v2";
    }
}

// One prepared statement, finalized when it goes.
class Statement {
public:
    Statement(CSQlite& db, const std::wstring& sql) {
        if (db.prepare(sql, &m_stmt) != SQLITE_OK && m_stmt) {
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
        }
    }
    ~Statement() {
        if (m_stmt) sqlite3_finalize(m_stmt);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    // Steps once; a failed statement reads as a row of NULLs (zeros), which the statistics show.
    bool Step() { return m_stmt && sqlite3_step(m_stmt) == SQLITE_ROW; }
    int64_t Int(int column) const { return m_stmt ? sqlite3_column_int64(m_stmt, column) : 0; }
    double Double(int column) const { return m_stmt ? sqlite3_column_double(m_stmt, column) : 0.0; }
    bool IsNull(int column) const { return !m_stmt || sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

std::wstring AlbumPeakText(CSQlite& db, const std::wstring& album) {
    Statement s(db, L"SELECT MAX(gain) FROM list WHERE tagAlbum='" + EscapeSqlQuotes(album) + L"' AND gain <> 0;");
    if (!s.Step() || s.IsNull(0)) return L"--";
    return PeakText(static_cast<int>(s.Int(0)));
}

}  // namespace

void AddPropertyGroup(PropertyRows& rows, const std::wstring& title) {
    rows.push_back({title, L"", RowGroupTitle});
    rows.push_back({title, L"", RowGroupLine});
}

void AddPropertyRow(PropertyRows& rows, const std::wstring& caption, const std::wstring& value, int kind) {
    rows.push_back({caption, value, kind});
}

std::wstring PeakText(int gain) {
    if (gain == 0) return L"--";
    const float r = static_cast<float>(gain) * (1.0f / 32768.0f);
    const float d = 20.0f * std::log10(r);
    if (d == 0.0f) return L"±0.00 dB";
    return Format(L"%.2f dB / %.4f", static_cast<double>(d), static_cast<double>(r));
}

std::wstring TotalTimeText(int64_t seconds) {
    std::wstring text = DurationText(seconds);
    if (seconds > 60) text = Format(L"%ls (%lld秒)", text.c_str(), static_cast<long long>(seconds));
    return text;
}

std::wstring DistributionText(int64_t count, int64_t total) {
    const std::wstring totalText = Format(L"%lld", static_cast<long long>(total));
    const float share = total != 0 ? static_cast<float>(count) * 100.0f / static_cast<float>(total) : 0.0f;
    // The count zero-padded to as many digits as the total has.
    std::wstring padded = Format(L"%lld", static_cast<long long>(count));
    if (padded.size() < totalText.size()) padded.insert(0, totalText.size() - padded.size(), L'0');
    return padded + Format(L" / %lld (%.2f%%)", static_cast<long long>(total), static_cast<double>(share));
}

bool FillTrackPropertyRows(CSQlite& db, int64_t rowid, const CAppSettings& settings, PropertyRows& rows) {
    rows.clear();
    const std::wstring& dateFormat = settings.generic.dateTimeFormat;
    TrackRecord t;
    int64_t modify = 0;
    {
        Statement s(db, Format(L"SELECT * FROM list WHERE rowid=%lld;", static_cast<long long>(rowid)));
        if (!s.Step()) {
            ShowDBError(db.errmsg());
            return false;
        }
        sqlite3_stmt* st = s.get();
        // A NULL text (never written by this program) reads as empty instead of failing the dialog.
        ReadListColumns(t, st, true);
        t.rowid = rowid;
        modify = sqlite3_column_int64(st, 25);
        t.displayTitle = t.tagTitle.empty() ? t.file_title : t.tagTitle;
    }
    auto column = [&](int type) {
        std::wstring value;
        GetColumnText(t, type, value, dateFormat);
        return value;
    };

    AddPropertyGroup(rows, L"SQLite");
    AddPropertyRow(rows, L"rowid", Format(L"%lld", static_cast<long long>(rowid)));
    AddPropertyRow(rows, L"追加・更新日時", DateText(modify, dateFormat));
    AddPropertyGroup(rows, L"ファイル");
    AddPropertyRow(rows, L"フルパス", t.file_name, RowPath);
    AddPropertyRow(rows, L"ファイル名", column(ColFileName));
    AddPropertyRow(rows, L"ファイルサイズ", ByteSizeText(t.file_size));
    AddPropertyGroup(rows, L"タグ");
    AddPropertyRow(rows, L"タグタイプ", TagTypeText(t.infoTagtype));
    AddPropertyRow(rows, L"TRACK", t.tagTracknumber);
    AddPropertyRow(rows, L"タイトル", t.tagTitle);
    AddPropertyRow(rows, L"アーティスト", t.tagArtist);
    AddPropertyRow(rows, L"アルバム", t.tagAlbum);
    AddPropertyRow(rows, L"ジャンル", t.tagGenre);
    AddPropertyRow(rows, L"年", t.tagDate);
    AddPropertyRow(rows, L"コメント", t.tagComment);
    AddPropertyRow(rows, L"APIC", t.tagAPIC.empty() ? L"False" : L"True");
    AddPropertyRow(rows, L"歌詞", t.tagLyrics);
    AddPropertyGroup(rows, L"オーディオ");
    AddPropertyRow(rows, L"コーデック", column(ColCodec));
    AddPropertyRow(rows, L"コーデック SubInfo", t.infoCodec_sub);
    AddPropertyRow(rows, L"チャンネル", column(ColChannels));
    AddPropertyRow(rows, L"サンプリングレート", column(ColSamplingRate));
    AddPropertyRow(rows, t.statVBR ? L"平均ビットレート" : L"ビットレート", column(ColBitrate));
    AddPropertyRow(rows, L"長さ", column(ColLength));
    AddPropertyGroup(rows, L"統計");
    AddPropertyRow(rows, L"Track Peak", PeakText(t.gain));
    AddPropertyRow(rows, L"Album Peak", AlbumPeakText(db, t.tagAlbum));
    AddPropertyRow(rows, L"評価", Format(L"%d", t.rating), RowRating);
    AddPropertyRow(rows, L"再生回数", column(ColPlayCount));
    AddPropertyRow(rows, L"最後に再生した日時", column(ColLastPlayed));
    return true;
}

void FillDatabasePropertyRows(CSQlite& db, const CAppSettings& settings, PropertyRows& rows) {
    rows.clear();
    const std::wstring& dateFormat = settings.generic.dateTimeFormat;
    auto count = [&](const wchar_t* sql) {
        Statement s(db, sql);
        s.Step();
        return Format(L"%d", static_cast<int>(s.Int(0)));
    };

    AddPropertyGroup(rows, L"SQLite");
    AddPropertyRow(rows, L"DBファイル名", settings.libraryPath, RowPath);
    int64_t fileSize = 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(settings.libraryPath.c_str(), GetFileExInfoStandard, &data))
        fileSize = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    AddPropertyRow(rows, L"DBファイルサイズ", ByteSizeText(fileSize));
    {
        const char* version = sqlite3_libversion();
        wchar_t wide[64] = {};
        MultiByteToWideChar(CP_ACP, 0, version, -1, wide, 63);
        AddPropertyRow(rows, L"Version", wide);
    }
    AddPropertyRow(rows, L"Total changes", Format(L"%d", db.handle() ? sqlite3_total_changes(db.handle()) : 0));
    AddPropertyRow(rows, L"Last insert rowid",
                   Format(L"%llu", static_cast<unsigned long long>(db.handle() ? sqlite3_last_insert_rowid(db.handle()) : 0)));
    {
        Statement s(db, L"SELECT MIN(modify),MAX(modify) FROM list;");
        s.Step();
        AddPropertyRow(rows, L"最初に追加・更新した日時", DateText(s.Int(0), dateFormat));
        AddPropertyRow(rows, L"最後に追加・更新した日時", DateText(s.Int(1), dateFormat));
    }

    AddPropertyGroup(rows, L"項目数");
    AddPropertyRow(rows, L"ファイル", count(L"SELECT COUNT(ROWID) FROM list;"));
    AddPropertyRow(rows, L"アーティスト",
                   count(L"SELECT COUNT(tagArtist) FROM (SELECT tagArtist FROM list GROUP BY tagArtist);"));
    AddPropertyRow(rows, L"アルバム", count(L"SELECT COUNT(tagAlbum) FROM (SELECT tagAlbum FROM list GROUP BY tagAlbum);"));
    AddPropertyRow(rows, L"ジャンル", count(L"SELECT COUNT(tagGenre) FROM (SELECT tagGenre FROM list GROUP BY tagGenre);"));

    {
        AddPropertyGroup(rows, L"統計 - ファイルサイズ");
        Statement s(db, L"SELECT AVG(file_size),MAX(file_size),MIN(file_size),SUM(file_size) FROM list;");
        s.Step();
        AddPropertyRow(rows, L"平均", Format(L"%.2f バイト", s.Double(0)));
        AddPropertyRow(rows, L"最大", ByteSizeText(s.Int(1)));
        AddPropertyRow(rows, L"最小", ByteSizeText(s.Int(2)));
        AddPropertyRow(rows, L"合計", ByteSizeText(s.Int(3)));
    }
    {
        AddPropertyGroup(rows, L"統計 - 長さ");
        Statement s(db, L"SELECT AVG(statDuration),MAX(statDuration),MIN(statDuration),SUM(statDuration) FROM list;");
        s.Step();
        AddPropertyRow(rows, L"平均", Format(L"%.2f秒", s.Double(0)));
        AddPropertyRow(rows, L"最大", DurationText(s.Int(1)));
        AddPropertyRow(rows, L"最小", DurationText(s.Int(2)));
        AddPropertyRow(rows, L"合計", TotalTimeText(s.Int(3)));
    }
    {
        AddPropertyGroup(rows, L"統計 - ビットレート");
        Statement s(db, L"SELECT AVG(statBitrate),MAX(statBitrate),MIN(statBitrate) FROM list WHERE statBitrate <> 0;");
        s.Step();
        auto bitrate = [&](int column) {
            return ColumnText(ColBitrate, dateFormat, [&](TrackRecord& t) { t.statBitrate = static_cast<int>(s.Int(column)); });
        };
        AddPropertyRow(rows, L"平均", Format(L"%.2f kbps", s.Double(0) / 1000.0));
        AddPropertyRow(rows, L"最大", bitrate(1));
        AddPropertyRow(rows, L"最小", bitrate(2));
    }
    {
        AddPropertyGroup(rows, L"統計 - 評価");
        Statement s(db, L"SELECT AVG(rating),MAX(rating),MIN(rating) FROM list;");
        s.Step();
        AddPropertyRow(rows, L"平均", Format(L"%.4f", s.Double(0)));
        AddPropertyRow(rows, L"最大", Format(L"%d", static_cast<int>(s.Int(1))), RowRating);
        AddPropertyRow(rows, L"最小", Format(L"%d", static_cast<int>(s.Int(2))), RowRating);
    }
    {
        AddPropertyGroup(rows, L"統計 - 再生回数");
        Statement s(db, L"SELECT AVG(playcount),MAX(playcount),MIN(playcount),SUM(playcount) FROM list;");
        s.Step();
        AddPropertyRow(rows, L"平均", Format(L"%.4f", s.Double(0)));
        AddPropertyRow(rows, L"最大", Format(L"%d", static_cast<int>(s.Int(1))));
        AddPropertyRow(rows, L"最小", Format(L"%d", static_cast<int>(s.Int(2))));
        AddPropertyRow(rows, L"合計", Format(L"%llu", static_cast<unsigned long long>(s.Int(3))));
    }
    {
        AddPropertyGroup(rows, L"統計 - その他");
        Statement s(db, L"SELECT MAX(lastplayed),SUM(statDuration * playcount) FROM list;");
        s.Step();
        AddPropertyRow(rows, L"最後に再生した日時", DateText(s.Int(0), dateFormat));
        AddPropertyRow(rows, L"今までの総演奏時間", TotalTimeText(s.Int(1)));
    }
    {
        AddPropertyGroup(rows, L"分布 - コーデック");
        Statement s(db, L"SELECT *,(SELECT COUNT(infoCodec) FROM list) FROM (SELECT infoCodec,COUNT(infoCodec) "
                        L"FROM list GROUP BY infoCodec) ORDER BY 2 DESC;");
        while (s.Step()) {
            std::wstring name;
            GetCodecName(static_cast<int>(s.Int(0)), name);
            AddPropertyRow(rows, name, DistributionText(s.Int(1), s.Int(2)));
        }
    }
    {
        AddPropertyGroup(rows, L"分布 - 評価");
        Statement s(db, L"SELECT *,(SELECT COUNT(rating) FROM list) FROM (SELECT rating,COUNT(rating) "
                        L"FROM list GROUP BY rating) ORDER BY 2 DESC;");
        while (s.Step())
            AddPropertyRow(rows, Format(L"%02d", static_cast<int>(s.Int(0))), DistributionText(s.Int(1), s.Int(2)),
                           RowDistribution);
    }
}
