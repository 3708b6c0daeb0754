#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include <cwchar>
#include <ctime>

namespace {

const wchar_t* const kCaptions[] = {
    L"",
    L"タイトル",
    L"アーティスト",
    L"アルバム",
    L"年",
    L"ジャンル",
    L"コメント",
    L"ファイル名",
    L"ファイルパス",
    L"ファイルサイズ",
    L"コーデック",
    L"ビットレート",
    L"チャンネル",
    L"サンプリングレート",
    L"VBR",
    L"評価",
    L"長さ",
    L"再生回数",
    L"最終再生日時",
};

int CompareNoCase(const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str());
}

std::wstring FormatInt(const wchar_t* format, int value) {
    wchar_t buf[64];
    swprintf(buf, 64, format, value);
    return buf;
}

// The ascending test of the column, a before b.
bool LessAscending(const TrackSortKey& key, const TrackRecord& a, const TrackRecord& b) {
    switch (key.column) {
    case ColTrackNumber:
        return TrackNumberValue(a.tagTracknumber) < TrackNumberValue(b.tagTracknumber);
    case ColTitle:
        return CompareNoCase(a.displayTitle, b.displayTitle) < 0;
    case ColFileName:
        return CompareNoCase(a.file_title + a.file_ext, b.file_title + b.file_ext) < 0;
    case ColFilePath:
        return CompareNoCase(a.file_name, b.file_name) < 0;
    case ColArtist: {
        int c = CompareNoCase(a.tagArtist, b.tagArtist);
        if (!key.artistRule || c != 0) return c < 0;
        c = CompareNoCase(a.tagAlbum, b.tagAlbum);
        if (c != 0) return c < 0;
        return TrackNumberValue(a.tagTracknumber) < TrackNumberValue(b.tagTracknumber);
    }
    case ColAlbum: {
        int c = CompareNoCase(a.tagAlbum, b.tagAlbum);
        if (!key.albumRule || c != 0) return c < 0;
        return TrackNumberValue(a.tagTracknumber) < TrackNumberValue(b.tagTracknumber);
    }
    case ColYear:
        return a.tagDate.compare(b.tagDate) < 0;
    case ColGenre:
        return a.tagGenre.compare(b.tagGenre) < 0;
    case ColComment:
        return a.tagComment.compare(b.tagComment) < 0;
    case ColFileSize:
        return a.file_size < b.file_size;
    case ColLastPlayed:
        return a.lastplayed < b.lastplayed;
    case ColCodec:
        return a.infoCodec > b.infoCodec;   // higher code first
    case ColBitrate:
        return a.statBitrate < b.statBitrate;
    case ColChannels:
        return a.statChannels < b.statChannels;
    case ColSamplingRate:
        return a.statSamplingrate < b.statSamplingrate;
    case ColLength:
        return a.statDuration < b.statDuration;
    case ColPlayCount:
        return a.playcount < b.playcount;
    case ColVbr:
        return !a.statVBR && b.statVBR;
    case ColRating: {
        if (!key.ratingRule || a.rating != b.rating) return a.rating < b.rating;
        // Album and track break ties the other way from the rating.
        int c = CompareNoCase(a.tagAlbum, b.tagAlbum);
        if (c != 0) return c > 0;
        return TrackNumberValue(a.tagTracknumber) > TrackNumberValue(b.tagTracknumber);
    }
    default:
        return false;
    }
}

}  // namespace

int TrackNumberValue(const std::wstring& text) {
    return _wtoi(text.c_str());
}

bool IsListColumnType(int type) { return type >= 0 && type <= ColLastType && type != ColVbr; }

bool GetColumnCaption(int type, std::wstring& text) {
    if (type < 0 || type > ColLastType) {
        text.clear();
        return false;
    }
    text = kCaptions[type];
    return true;
}

int GetColumnAlignment(int type) {
    switch (type) {
    case ColTrackNumber:
    case ColChannels:
        return AlignCentre;
    case ColYear:
    case ColFileSize:
    case ColBitrate:
    case ColSamplingRate:
    case ColLength:
    case ColPlayCount:
    case ColLastPlayed:
        return AlignRight;
    default:
        return AlignLeft;
    }
}

bool GetCodecName(int code, std::wstring& text) {
    static const wchar_t* const names[] = {L"MP1", L"MP2", L"MP3", L"OGG",  L"WAV", L"WMA",
                                           L"AAC", L"MP4", L"ALAC", L"Flac", L"TTA", L"APE"};
    if (code < 1 || code > 12) return false;
    text = names[code - 1];
    return true;
}

void FormatLastPlayed(int64_t time, std::wstring& text, const std::wstring& format) {
    if (time == 0) {
        text = L"--";
        return;
    }
    text.clear();
    if (!IsRuntimeTime(time)) return;
    __time64_t t = time;
    struct tm local;
    if (_localtime64_s(&local, &t) != 0) return;
    text = FormatTimeChecked(format, local);
}

void GetColumnText(const TrackRecord& t, int type, std::wstring& text,
                   const std::wstring& dateFormat) {
    switch (type) {
    case ColTrackNumber: text = t.tagTracknumber; break;
    case ColTitle: text = t.displayTitle; break;
    case ColArtist: text = t.tagArtist; break;
    case ColAlbum: text = t.tagAlbum; break;
    case ColYear: text = t.tagDate; break;
    case ColGenre: text = t.tagGenre; break;
    case ColComment: text = t.tagComment; break;
    case ColFileName: text = t.file_title + t.file_ext; break;
    case ColFilePath: text = t.file_name; break;
    case ColFileSize: FormatByteSizeShell(text, t.file_size); break;
    case ColCodec: GetCodecName(t.infoCodec, text); break;
    case ColBitrate:
        text = t.statBitrate == 0 ? L"--" : FormatInt(L"%d kbps", t.statBitrate / 1000);
        break;
    case ColChannels: FormatChannels(text, t.statChannels); break;
    case ColSamplingRate:
        text = t.statSamplingrate == 0 ? L"--" : FormatInt(L"%d KHz", t.statSamplingrate / 1000);
        break;
    case ColVbr: text = t.statVBR ? L"VBR" : L"CBR"; break;
    case ColRating: text = FormatInt(L"%d", t.rating); break;
    case ColLength: FormatTimeSpan(text, t.statDuration); break;
    case ColPlayCount: text = FormatInt(L"%d", t.playcount); break;
    case ColLastPlayed: FormatLastPlayed(t.lastplayed, text, dateFormat); break;
    default: break;
    }
}

bool CompareTracksByColumn(const TrackSortKey& key, const TrackRecord& a, const TrackRecord& b) {
    return key.ascending ? LessAscending(key, a, b) : LessAscending(key, b, a);
}

void ResetDefaultColumns(std::vector<ListColumnEntry>& columns, int marginX) {
    columns.clear();
    columns.push_back({ColTrackNumber, 50});
    columns.push_back({ColTitle, 200});
    columns.push_back({ColArtist, 200});
    columns.push_back({ColAlbum, 200});
    columns.push_back({ColRating, 2 * marginX + 80});
    columns.push_back({ColLength, 70});
    columns.push_back({ColPlayCount, 70});
    columns.push_back({ColLastPlayed, 140});
}

std::vector<ListColumnEntry>::iterator FindColumnEntry(std::vector<ListColumnEntry>& columns, int type) {
    for (auto it = columns.begin(); it != columns.end(); ++it)
        if (it->type == type) return it;
    return columns.end();
}
