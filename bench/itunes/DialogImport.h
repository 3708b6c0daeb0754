#pragma once
#include <string>

// The import dialog run on an export as a user runs it: the iTunes source chosen, "読み込み"
// clicked, the rows shown as they come until the read ends, then "インポート" confirmed, which
// writes them into an empty library in batches.
struct DialogImportResult {
    double read = 0;     // seconds from the click to the end of the read, the list filled
    double write = 0;    // seconds from the click of "インポート" to the end of its writes
    int listed = 0;      // rows the dialog's list held
    int stored = 0;      // rows in the library afterwards
    bool completed = false;   // the dialog ended with "インポート完了"
};

// Runs the dialog on `exportPath` over a new library in `folder` (a folder of its own, which
// it leaves behind). False when the dialog or the library could not be set up.
bool RunDialogImport(const std::wstring& exportPath, const std::wstring& folder, DialogImportResult& result);
