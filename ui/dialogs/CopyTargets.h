#pragma once
#include "app/Placeholders.h"
#include "app/TrackRecord.h"
#include <windows.h>
#include <string>
#include <vector>

// True when `path` is an existing folder on a removable, fixed, remote or RAM drive.
bool IsValidCopyDestination(const std::wstring& path);

// A file name below the destination from an expanded template: characters that names cannot
// hold become their full-width forms and control characters (NUL among them) "_", the
// backslash stays a folder separator, empty folder names are dropped, each name loses its
// trailing dots and blanks ("Best of..." is "Best of") and one left empty ("..", "  ") is "_",
// and a device name ("CON", "nul.mp3") gets a "_" after its device word, so tag text never
// leads outside the destination.
std::wstring MakeCopyName(const std::wstring& expanded);

// The sources and targets of one copy, each a list of NUL-ended paths ended by one more NUL.
struct CopyLists {
    std::wstring sources;
    std::wstring targets;
    std::wstring tooLong;   // the first target of MAX_PATH characters or more (nothing is copied)
};

// Builds the lists for the tracks, in their order; a track whose file name is empty or holds
// a NUL is left out of both. False when a target is too long.
bool BuildCopyLists(const std::vector<const TrackRecord*>& tracks, const std::wstring& destination,
                    const std::wstring& nameTemplate, const PlaceholderContext& context, CopyLists& lists);

// The drive bar: how full the destination drive is and what the selection adds.
struct DriveBarState {
    bool available = false;   // false: "N/A" and an empty bar
    std::wstring text;
    int usedRight = 0;        // x of the end of the used part
    int selectionRight = 0;   // x of the end of the selection (not limited to the bar)
};
DriveBarState ComputeDriveBar(ULONGLONG total, ULONGLONG freeToCaller, long long selection, int files,
                              int left, int width);
