#pragma once
#include "app/TrackRecord.h"
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Receives each record a reader finished, in source order.
using ImportSink = std::function<void(TrackRecord&&)>;

// ---- iTunes library export ------------------------------------------------------------

// The byte of a two-character escape: hexadecimal digits count 0-15, any other character
// its own code, and the result is (16 a + b) modulo 256.
unsigned char HexPairToByte(wchar_t a, wchar_t b);
// The UTF-8 bytes of `text` with every "%XX" decoded once; CR and LF are dropped, "+" stays.
// A "%" without two characters after it stays as it is. False only for a missing text.
bool PercentDecodeUrl(const wchar_t* text, std::string& bytes);
// The Windows path of a decoded file URL: "file://localhost/C:/a/b" or "file:///C:/a/b" gives
// "C:\a\b", "file://server/share/a" gives "\\server\share\a". False for anything that is not
// a file on a drive or a share.
bool FileUrlToPath(const std::wstring& url, std::wstring& path);
// `path` made whole ("." and ".." resolved, "/" read as "\") when it is a plain file path on a
// drive A-Z or a share: false for control characters (NUL among them), wildcards, a ":" past
// the drive, device forms ("\\.\", "\\?\"), device names ("CON", "nul.mp3"), an empty
// server or share, a ".." above the root, or no file name. Both readers take only such paths.
bool MakeWholeFilePath(const std::wstring& path, std::wstring& whole);
// A location as the export writes it (percent-encoded UTF-8) to a path; false when it is not
// a plain local or UNC file path (`MakeWholeFilePath`) or its bytes are not UTF-8.
bool DecodeItunesLocation(const std::wstring& location, std::wstring& path);

// "Play Date" (seconds since 1904-01-01, the wall clock of the computer that played) to
// seconds since 1970 UTC; 0 when it gives no valid time.
int64_t ItunesPlayDateToTime(const std::wstring& text);

// Whether a track dictionary's key is one the mapping reads (compared without regard to case);
// the values of other keys need not be read.
bool IsItunesTrackKey(const std::wstring& key);

enum class ItunesTrackResult { Taken, NotAFile, UnknownKind, NotLocal };
// Maps the key/value pairs of one track dictionary. Anything but Taken leaves a record
// that must not be imported.
ItunesTrackResult MapItunesTrack(const std::vector<std::pair<std::wstring, std::wstring>>& pairs, TrackRecord& record);

struct ImportReadResult {
    bool failed = false;   // the source could not be read
    std::wstring error;    // then: the message that says so
    int taken = 0;
    int skipped = 0;       // tracks that are no local file or of a kind not supported
};

// Loads an iTunes library XML export through MSXML and hands every usable track to `sink`,
// showing nothing: a failure comes back with its message. Runs on any thread that has COM;
// `cancel`, when given and set, ends the walk before the next track.
ImportReadResult ParseItunesLibraryXml(const std::wstring& path, const ImportSink& sink,
                                       const std::atomic<bool>* cancel);
// The same, showing the failure's message.
ImportReadResult ReadItunesLibraryXml(const std::wstring& path, const ImportSink& sink);

// ---- Windows Media Player -------------------------------------------------------------

// One media item: its attributes by name, as texts.
class IWmpMediaItem {
public:
    virtual ~IWmpMediaItem() = default;
    virtual bool GetItemInfo(const wchar_t* name, std::wstring& value) = 0;
};

// The player's list of all items.
class IWmpMediaCollection {
public:
    virtual ~IWmpMediaCollection() = default;
    virtual int GetCount() = 0;
    // Null when the item cannot be had.
    virtual std::unique_ptr<IWmpMediaItem> GetItem(int index) = 0;
};

// "UserRating" 0-99 to the library's 0-50.
int WmpRatingToRating(int value);
// "UserLastPlayedTime" ("2006-08-25 21:04:05", local time) to seconds since 1970 UTC; 0 when
// empty or not parsable.
int64_t ParseWmpLastPlayed(const std::wstring& text);
// Fills a record from an audio item; false when the item is skipped (no audio, no file type).
bool MapWmpItem(IWmpMediaItem& item, TrackRecord& record);
ImportReadResult ReadWmpCollection(IWmpMediaCollection& collection, const ImportSink& sink);

// The installed player's collection; null when the player or its collection is not there.
std::unique_ptr<IWmpMediaCollection> OpenWmpLibrary();
// Reads the installed player's library; nothing when it is not available.
ImportReadResult ReadWmpLibrary(const ImportSink& sink);
