#pragma once
#include "app/TrackRecord.h"
#include <cstdint>
#include <vector>

class CLarkspur2006Doc;

// The library dialogs as the document, the play list and the now-playing pane open them.

// The property dialog for the whole database; true when it changed the library.
bool RunDatabaseProperties(CLarkspur2006Doc& doc);
// The property dialog of one row of the library.
void RunTrackProperties(CLarkspur2006Doc& doc, int64_t rowid);
// The import dialog; true when it ended with OK after writing rows.
bool RunImportDialog(CLarkspur2006Doc& doc);
// The copy dialog for the selected tracks, in selection order (the records outlive the dialog).
void RunCopyDialog(const std::vector<const TrackRecord*>& tracks);
