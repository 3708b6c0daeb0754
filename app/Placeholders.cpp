#include "app/Placeholders.h"
#include "app/ColumnModel.h"
#include "app/Formatters.h"
#include "app/PathParts.h"
#include "app/SqlEscape.h"
#include <cwctype>
#include <string_view>
#include <vector>

namespace {

void Trim(std::wstring& s) {
    size_t end = s.size();
    while (end > 0 && iswspace(s[end - 1])) --end;
    size_t begin = 0;
    while (begin < end && iswspace(s[begin])) ++begin;
    s = s.substr(begin, end - begin);
}

// Every occurrence of `what` in `text`, left to right, into a new string: linear in the result.
void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with) {
    if (what.empty()) return;
    size_t pos = text.find(what);
    if (pos == std::wstring::npos) return;
    std::wstring out;
    size_t from = 0;
    for (; pos != std::wstring::npos; pos = text.find(what, from)) {
        out.append(text, from, pos - from);
        out += with;
        from = pos + what.size();
    }
    out.append(text, from, std::wstring::npos);
    text.swap(out);
}

std::wstring ColumnText(const TrackRecord& track, int type, const std::wstring& dateFormat) {
    std::wstring text;
    GetColumnText(track, type, text, dateFormat);
    return text;
}

}  // namespace

void ReplacePlaceholder(const std::wstring& placeholder, std::wstring value, std::wstring& text,
                        bool escape, bool trim) {
    if (text.find(placeholder) == std::wstring::npos) return;
    if (trim) Trim(value);
    if (escape) value = EscapeGlobLiteral(value);
    ReplaceAll(text, placeholder, value);
}

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

namespace {

// In the order in which they have always been taken (see ResolveSharedPercents).
constexpr std::wstring_view kPlaceholders[] = {
    L"%_app_title%", L"%_path%", L"%_app_path%", L"%_user_path%", L"%file_title%", L"%file_ext%",
    L"%file_size%", L"%tagTracknumber%", L"%tagTitle%", L"%tagArtist%", L"%tagAlbum%",
    L"%tagGenre%", L"%tagDate%", L"%tagComment%", L"%infoCodec%", L"%lastplayed%", L"%playcount%",
    L"%rating%", L"%rating_string%", L"%statDuration%", L"%statBitrate%", L"%statChannels%",
    L"%statSamplingrate%"};

// The slots of the table above, by name.
enum Slot {
    AppTitle, Path, AppPath, UserPath, FileTitle, FileExt, FileSize, TagTracknumber, TagTitle, TagArtist,
    TagAlbum, TagGenre, TagDate, TagComment, InfoCodec, LastPlayed, PlayCount, Rating, RatingString,
    StatDuration, StatBitrate, StatChannels, StatSamplingrate, kPlaceholderCount
};
static_assert(sizeof(kPlaceholders) / sizeof(kPlaceholders[0]) == kPlaceholderCount, "a slot for each placeholder");

// The slot of the placeholder at text + pos, `length` characters, or -1.
int PlaceholderSlot(const std::wstring& text, size_t pos, size_t length) {
    const std::wstring_view at(text.data() + pos, length);
    for (int slot = 0; slot < kPlaceholderCount; ++slot)
        if (kPlaceholders[slot] == at) return slot;
    return -1;
}

std::wstring PlaceholderValue(int slot, const TrackRecord& track, const PlaceholderContext& ctx) {
    switch (slot) {
    case AppTitle: return ctx.appTitle;
    case Path: {
        PathParts parts;
        return SplitPath(parts, track.file_name) ? parts.drive + parts.dir : std::wstring();
    }
    case AppPath: return ctx.programFolder;
    case UserPath: return ctx.userFolder;
    case FileTitle: return track.file_title;
    case FileExt: return track.file_ext;
    case FileSize: {
        std::wstring size;
        FormatByteSizeShell(size, track.file_size);
        return size;
    }
    case TagTracknumber: return track.tagTracknumber;
    case TagTitle: return track.tagTitle;
    case TagArtist: return track.tagArtist;
    case TagAlbum: return track.tagAlbum;
    case TagGenre: return track.tagGenre;
    case TagDate: return track.tagDate;
    case TagComment: return track.tagComment;
    case InfoCodec: return ColumnText(track, ColCodec, ctx.dateTimeFormat);
    case LastPlayed: return ColumnText(track, ColLastPlayed, ctx.dateTimeFormat);
    case PlayCount: return ColumnText(track, ColPlayCount, ctx.dateTimeFormat);
    case Rating: return ColumnText(track, ColRating, ctx.dateTimeFormat);
    case RatingString: {
        std::wstring marks;
        for (int k = 1; k <= 5; ++k) marks += track.rating >= 10 * k ? ctx.ratingString10 : ctx.ratingString00;
        return marks;
    }
    case StatDuration: return ColumnText(track, ColLength, ctx.dateTimeFormat);
    case StatBitrate: return ColumnText(track, ColBitrate, ctx.dateTimeFormat);
    case StatChannels: return ColumnText(track, ColChannels, ctx.dateTimeFormat);
    default: return ColumnText(track, ColSamplingRate, ctx.dateTimeFormat);   // StatSamplingrate
    }
}

struct PlaceholderMatch {
    size_t pos;
    size_t length;
    int slot;
    bool taken;
};

// Two placeholders next to each other may share their '%' ("%tagArtist%tagTitle%"). The
// placeholders were once replaced one after another over the whole text, so the one earlier
// in the table takes the '%', and of two alike the left one: keep that result.
void ResolveSharedPercents(std::vector<PlaceholderMatch>& found) {
    // Only neighbours can share a '%'.
    auto shares = [&](size_t left) {
        return left + 1 < found.size() && found[left].pos + found[left].length - 1 == found[left + 1].pos;
    };
    std::vector<size_t> bySlot[kPlaceholderCount];
    for (size_t k = 0; k < found.size(); ++k) {
        if ((k > 0 && shares(k - 1)) || shares(k)) bySlot[found[k].slot].push_back(k);
        else found[k].taken = true;
    }
    for (const std::vector<size_t>& matches : bySlot) {
        for (size_t k : matches) {
            const bool leftTaken = k > 0 && shares(k - 1) && found[k - 1].taken;
            const bool rightTaken = shares(k) && found[k + 1].taken;
            found[k].taken = !leftTaken && !rightTaken;
        }
    }
}

}  // namespace

// One pass: the text a placeholder puts in is never searched for placeholders again, and
// the cost is linear in the text and the result.
void ExpandTrackPlaceholders(const TrackRecord& track, std::wstring& text, bool escape,
                             bool trim, const PlaceholderContext& ctx) {
    // Every placeholder runs from one '%' to the next.
    std::vector<PlaceholderMatch> found;
    size_t open = text.find(L'%');
    while (open != std::wstring::npos) {
        const size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos) break;
        const int slot = PlaceholderSlot(text, open, close - open + 1);
        if (slot >= 0) found.push_back({open, close - open + 1, slot, false});
        open = close;
    }
    if (found.empty()) return;
    ResolveSharedPercents(found);

    std::wstring values[kPlaceholderCount];
    bool ready[kPlaceholderCount] = {};
    std::wstring out;
    size_t from = 0;
    for (const PlaceholderMatch& match : found) {
        if (!match.taken) continue;
        if (!ready[match.slot]) {
            std::wstring value = PlaceholderValue(match.slot, track, ctx);
            if (trim) Trim(value);
            // The marks are never escaped.
            if (escape && match.slot != RatingString) value = EscapeGlobLiteral(value);
            values[match.slot] = std::move(value);
            ready[match.slot] = true;
        }
        out.append(text, from, match.pos - from);
        out += values[match.slot];
        from = match.pos + match.length;
    }
    out.append(text, from, std::wstring::npos);
    text.swap(out);
}
