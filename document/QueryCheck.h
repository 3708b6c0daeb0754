#pragma once
#include "document/SQLite.h"
#include <string>

// What the check of a query text found, and what the user is told.
struct QueryCheck {
    enum Verdict {
        Usable,          // the text may become the play list
        DatabaseError,   // shown in the database error dialog, `text` as SQLite's text
        Refused,         // shown in a message box, `text` as the message
    };
    Verdict verdict = Usable;
    std::wstring text;
};

// Checks a query text from the user (typed, saved or from the history) before the play list
// is replaced by it: the text ends with a ";" of its own, and its first statement only reads
// and gives rows that begin with the columns of `list`. Later statements are never run and
// not looked at.
//
// The statement is prepared on `db` but not run, under an authorizer that lets it only read:
// SQLite applies some pragmas while preparing them, and a refused text must leave the
// connection as it was. The authorizer is there only while the check holds the connection,
// so no statement of the program's own, on any thread, meets it.
QueryCheck CheckPlaylistQuery(CSQlite& db, const std::wstring& sql);

// Shown in the database error dialog, where SQLite's text goes, for a text that does not end
// with a ";" of its own (that ";" may stand in a comment or a string).
extern const wchar_t* const kIncompleteQueryText;
// The message for a statement that would write or change the connection.
extern const wchar_t* const kQueryNotReadOnlyMessage;
