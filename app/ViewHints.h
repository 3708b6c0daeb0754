#pragma once
#include "framework/Object.h"
#include <cstdint>
#include <string>

struct PlayerStatusBlock;

// Hint codes of UpdateAllViews.
enum ViewUpdateHint {
    HintSettingsChanged = 5,
    HintLibraryChanged = 10,
    HintGroupViewRefresh = 11,
    HintGroupTagChosen = 13,
    HintPlaylistReady = 20,
    HintNowPlayingChanged = 30,
    HintPlayStateChanged = 31,
    HintStatisticsChanged = 32,
    HintEqualizerSwitched = 33,
    HintLyricsWindowShown = 100,
    HintCoverWindowShown = 101,
};

// Hint 10. With `clearLists` the views empty their lists before they refresh.
class CUpdateViewLibrary : public CObject {
public:
    bool clearLists = false;
};

// Hint 13 (tagKey) and hint 20 (sortColumn, sortAscending). A sortColumn of -1 keeps the
// play list's own sort; -2 shows the rows in query order.
class CUpdateViewPlaylist : public CObject {
public:
    std::wstring tagKey = L"tagAlbum";
    int sortColumn = -1;
    bool sortAscending = false;
};

// Hints 30 and 31: the player's status, valid only during the call.
class CUpdateViewPlayback : public CObject {
public:
    const PlayerStatusBlock* status = nullptr;
};

// Hint 32: one row's changed statistics; only the fields whose bit is set carry values.
class CUpdateViewPlaybackStatisticsChange : public CObject {
public:
    enum ChangedBits { Rating = 1, LastPlayed = 2, PlayCount = 4 };
    int changed = 0;
    int64_t rowid = -1;
    int rating = 0;
    int64_t lastplayed = 0;
    int playcount = 0;
};
