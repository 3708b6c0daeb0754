#include "app/Placeholders.h"
#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include "app/PathParts.h"
#include "app/SqlEscape.h"
#include <cwctype>

namespace {

void Trim(std::wstring& s) {
    size_t end = s.size();
    while (end > 0 && iswspace(s[end - 1])) --end;
    size_t begin = 0;
    while (begin < end && iswspace(s[begin])) ++begin;
    s = s.substr(begin, end - begin);
}

void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with) {
    if (what.empty()) return;
    size_t pos = 0;
    while ((pos = text.find(what, pos)) != std::wstring::npos) {
        text.replace(pos, what.size(), with);
        pos += with.size();
    }
}

std::wstring ColumnText(const TrackRecord& track, int type, const std::wstring& dateFormat) {
    std::wstring text;
    GetColumnText(track, type, text, dateFormat);
    return text;
}

}  // namespace

PlaceholderContext MakePlaceholderContext(const CAppSettings& settings,
                                          const std::wstring& programFolder) {
    PlaceholderContext c;
    c.appTitle = settings.appTitle;
    c.programFolder = programFolder;
    c.userFolder = settings.userFolder;
    c.dateTimeFormat = settings.generic.dateTimeFormat;
    c.ratingString10 = settings.generic.ratingString10;
    c.ratingString00 = settings.generic.ratingString00;
    return c;
}

void ReplacePlaceholder(const std::wstring& placeholder, std::wstring value, std::wstring& text,
                        bool escape, bool trim) {
    if (text.find(placeholder) == std::wstring::npos) return;
    if (trim) Trim(value);
    if (escape) value = EscapeGlobLiteral(value);
    ReplaceAll(text, placeholder, value);
}

void ExpandTrackPlaceholders(const TrackRecord& track, std::wstring& text, bool escape,
                             bool trim, const PlaceholderContext& ctx) {
    std::wstring folder;
    PathParts parts;
    if (SplitPath(parts, track.file_name)) folder = parts.drive + parts.dir;
    std::wstring size;
    FormatByteSizeShell(size, track.file_size);

    ReplacePlaceholder(L"%_app_title%", ctx.appTitle, text, escape, trim);
    ReplacePlaceholder(L"%_path%", folder, text, escape, trim);
    ReplacePlaceholder(L"%_app_path%", ctx.programFolder, text, escape, trim);
    ReplacePlaceholder(L"%_user_path%", ctx.userFolder, text, escape, trim);
    ReplacePlaceholder(L"%file_title%", track.file_title, text, escape, trim);
    ReplacePlaceholder(L"%file_ext%", track.file_ext, text, escape, trim);
    ReplacePlaceholder(L"%file_size%", size, text, escape, trim);
    ReplacePlaceholder(L"%tagTracknumber%", track.tagTracknumber, text, escape, trim);
    ReplacePlaceholder(L"%tagTitle%", track.tagTitle, text, escape, trim);
    ReplacePlaceholder(L"%tagArtist%", track.tagArtist, text, escape, trim);
    ReplacePlaceholder(L"%tagAlbum%", track.tagAlbum, text, escape, trim);
    ReplacePlaceholder(L"%tagGenre%", track.tagGenre, text, escape, trim);
    ReplacePlaceholder(L"%tagDate%", track.tagDate, text, escape, trim);
    ReplacePlaceholder(L"%tagComment%", track.tagComment, text, escape, trim);
    ReplacePlaceholder(L"%infoCodec%", ColumnText(track, ColCodec, ctx.dateTimeFormat), text, escape, trim);
    ReplacePlaceholder(L"%lastplayed%", ColumnText(track, ColLastPlayed, ctx.dateTimeFormat), text, escape, trim);
    ReplacePlaceholder(L"%playcount%", ColumnText(track, ColPlayCount, ctx.dateTimeFormat), text, escape, trim);
    ReplacePlaceholder(L"%rating%", ColumnText(track, ColRating, ctx.dateTimeFormat), text, escape, trim);

    // The marks are never escaped.
    std::wstring marks;
    for (int k = 1; k <= 5; ++k)
        marks += track.rating >= 10 * k ? ctx.ratingString10 : ctx.ratingString00;
    ReplacePlaceholder(L"%rating_string%", marks, text, false, trim);

    ReplacePlaceholder(L"%statDuration%", ColumnText(track, ColLength, ctx.dateTimeFormat), text, escape, trim);
    ReplacePlaceholder(L"%statBitrate%", ColumnText(track, ColBitrate, ctx.dateTimeFormat), text, escape, trim);
    ReplacePlaceholder(L"%statChannels%", ColumnText(track, ColChannels, ctx.dateTimeFormat), text, escape, trim);
    ReplacePlaceholder(L"%statSamplingrate%", ColumnText(track, ColSamplingRate, ctx.dateTimeFormat), text, escape, trim);
}
