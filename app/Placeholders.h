#pragma once
#include "app/AppSettings.h"
#include "app/TrackRecord.h"
#include <string>

// What the placeholders take from outside the track.
struct PlaceholderContext {
    std::wstring appTitle;        // "%_app_title%"
    std::wstring programFolder;   // "%_app_path%", with the trailing backslash
    std::wstring userFolder;      // "%_user_path%", with the trailing backslash
    std::wstring dateTimeFormat;  // for "%lastplayed%"
    std::wstring ratingString10;  // mark of a full star
    std::wstring ratingString00;  // mark of an empty star
};

PlaceholderContext MakePlaceholderContext(const CAppSettings& settings,
                                          const std::wstring& programFolder);

// Replaces every placeholder ("%tagTitle%", "%_path%", ...) in `text` by the track's values,
// in one pass: a value that holds a placeholder's name goes in as it is.
// escape: make each value a literal inside a quoted GLOB pattern; trim: strip white space
// around each value.
void ExpandTrackPlaceholders(const TrackRecord& track, std::wstring& text, bool escape,
                             bool trim, const PlaceholderContext& context);

// One placeholder alone: every occurrence of `placeholder` in `text`, left to right.
void ReplacePlaceholder(const std::wstring& placeholder, std::wstring value, std::wstring& text,
                        bool escape, bool trim);
