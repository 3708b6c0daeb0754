#pragma once
#include "app/TrackRecord.h"
#include <windows.h>
#include <string>

// The texts of the tray icon's tip and balloon, before they go to the shell.

// The longest tip, balloon title and balloon text the notification record holds.
const size_t kTrayTipMaxShort = 63;    // Windows 2000
const size_t kTrayTipMax = 127;
const size_t kBalloonTitleMax = 63;
const size_t kBalloonTextMax = 255;

// The first `max` characters of `text`, never splitting a surrogate pair.
std::wstring CutTrayText(const std::wstring& text, size_t max);

// What the first modification of an update sends: the NIF_* flags and the tip. With
// balloons on, a tip update shows the application name (the balloon tells the track).
struct TrayFirstUpdate {
    UINT flags;
    std::wstring tip;
    bool setsTip;
};
TrayFirstUpdate FirstTrayUpdate(bool updateTip, bool balloonsOn, const std::wstring& appName,
                                const std::wstring& tipText);

// The balloon's icon flags: silent, and on systems after Windows 2000 the program's own
// icon in place of the information icon. A caller's own title keeps its flags as given.
DWORD BalloonIconFlags(DWORD given, bool windows2000, bool titleGiven);

// The balloon title of a track: the expanded title template, else its title, else its file
// title, cut to fit.
std::wstring DefaultBalloonTitle(const TrackRecord& track, const std::wstring& expandedTemplate);

// The balloon text of a track without a text template: artist, album and one star for each
// ten of its rating, on lines of their own.
std::wstring DefaultBalloonText(const TrackRecord& track);

// Line breaks and blanks trimmed at both ends, no empty lines, a blank when nothing is left,
// cut to fit.
std::wstring CleanBalloonText(std::wstring text);
