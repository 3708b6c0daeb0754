#pragma once

// Shows the database error ("データベースでエラーが起こりました。" with SQLite's text) and
// returns when the user has closed it. A null text shows as empty.
void ShowDBError(const wchar_t* sqliteText);
// The same dialog with a message of its own in place of the fixed one.
void ShowDBError(const wchar_t* message, const wchar_t* sqliteText);

// Where ShowDBError goes. The user interface installs the error dialog; tests install a
// recorder so that nothing blocks.
class IDBErrorSink {
public:
    virtual ~IDBErrorSink() = default;
    virtual void ShowDBError(const wchar_t* message, const wchar_t* sqliteText) = 0;
};

// Replaces the sink (null restores the fall-back message box); returns the previous one.
IDBErrorSink* SetDBErrorSink(IDBErrorSink* sink);

extern const wchar_t* const kDBErrorMessage;
