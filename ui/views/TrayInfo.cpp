#include "ui/views/TrayInfo.h"
#include <shellapi.h>

std::wstring CutTrayText(const std::wstring& text, size_t max) {
    if (text.size() <= max) return text;
    size_t length = max;
    if (length > 0 && IS_HIGH_SURROGATE(text[length - 1])) --length;
    return text.substr(0, length);
}

TrayFirstUpdate FirstTrayUpdate(bool updateTip, bool balloonsOn, const std::wstring& appName,
                                const std::wstring& tipText) {
    if (updateTip && balloonsOn) return {NIF_TIP | NIF_INFO, appName, true};
    if (!updateTip && balloonsOn) return {NIF_INFO, std::wstring(), false};
    return {NIF_TIP, tipText, true};
}

DWORD BalloonIconFlags(DWORD given, bool windows2000, bool titleGiven) {
    if (titleGiven) return given;
    if (!windows2000 && (given & NIIF_ICON_MASK) == NIIF_INFO)
        return (given & ~NIIF_ICON_MASK) | NIIF_USER | NIIF_NOSOUND;
    return given | NIIF_NOSOUND;
}

std::wstring DefaultBalloonTitle(const TrackRecord& track, const std::wstring& expandedTemplate) {
    std::wstring title = expandedTemplate;
    if (title.empty()) title = track.tagTitle;
    if (title.empty()) title = track.file_title;
    return CutTrayText(title, kBalloonTitleMax);
}

std::wstring DefaultBalloonText(const TrackRecord& track) {
    std::wstring text = track.tagArtist;
    if (!track.tagAlbum.empty()) {
        if (!track.tagArtist.empty()) text += L"\r\n";
        text += track.tagAlbum;
    }
    if ((!track.tagArtist.empty() || !track.tagAlbum.empty()) && track.rating != 0) text += L"\r\n";
    for (int step = 10; step <= 50; step += 10)
        if (track.rating >= step) text += L"★";
    return text;
}

std::wstring CleanBalloonText(std::wstring text) {
    const std::wstring crlf = L"\r\n";
    while (text.compare(0, 2, crlf) == 0) text.erase(0, 2);
    size_t first = text.find_first_not_of(L' ');
    text.erase(0, first == std::wstring::npos ? text.size() : first);
    while (text.size() >= 2 && text.compare(text.size() - 2, 2, crlf) == 0) text.erase(text.size() - 2);
    const size_t last = text.find_last_not_of(L' ');
    text.erase(last == std::wstring::npos ? 0 : last + 1);
    for (size_t at; (at = text.find(L"\r\n\r\n")) != std::wstring::npos;) text.erase(at, 2);
    if (text.empty()) text = L" ";
    return CutTrayText(text, kBalloonTextMax);
}
