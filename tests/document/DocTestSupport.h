#pragma once
#include "app/AppSettings.h"
#include "app/TrackRecord.h"
#include "document/DBError.h"
#include "document/IDocumentHost.h"
#include "document/Larkspur2006Doc.h"
#include "document/LibraryRows.h"
#include "framework/Object.h"
#include "framework/View.h"
#include "support/TestFiles.h"
#include <sqlite3.h>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace doc_test {

// Settings as config.ini's defaults give them, for a profile folder.
inline CAppSettings MakeSettings(const std::wstring& userFolder) {
    CAppSettings s;
    s.appTitle = L"Spur";
    s.userFolder = userFolder;
    s.sqlite.pragmaSynchronous = L"OFF";
    s.sqlite.pragmaTempstore = L"MEMORY";
    s.sqlite.busyTimeout = 500;
    s.sqlite.busyRetry = 3;
    s.generic.checkFileModify = true;
    s.generic.dateTimeFormat = L"%Y";
    s.bass.repeatMode = 2;
    return s;
}

// Records every database error instead of showing the dialog.
class DBErrorRecorder : public IDBErrorSink {
public:
    DBErrorRecorder() { m_previous = SetDBErrorSink(this); }
    ~DBErrorRecorder() override { SetDBErrorSink(m_previous); }
    void ShowDBError(const wchar_t* message, const wchar_t* sqliteText) override {
        messages.push_back(message);
        texts.push_back(sqliteText);
    }
    std::vector<std::wstring> messages;
    std::vector<std::wstring> texts;

private:
    IDBErrorSink* m_previous = nullptr;
};

// Answers the document's message boxes and file dialogs from queues, and records them.
class FakeHost : public IDocumentHost {
public:
    struct Message {
        std::wstring text;
        UINT type;
    };
    int ShowMessage(const std::wstring& text, UINT type) override {
        messages.push_back({text, type});
        if (answers.empty()) return IDOK;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    bool ShowFileDialog(const FileDialogRequest& request, FileDialogResult& result) override {
        requests.push_back(request);
        if (dialogResults.empty()) return false;   // cancelled
        result = dialogResults.front();
        dialogResults.pop_front();
        return true;
    }
    void SetQueryTitle(const std::wstring& title) override { titles.push_back(title); }
    // Answers with the next queued folder choice; none queued: cancelled (2).
    int BrowseForFolder(std::wstring& folder, bool& subfolders) override {
        browseStarts.push_back(folder);
        if (folderChoices.empty()) return 2;
        folder = folderChoices.front().first;
        subfolders = folderChoices.front().second;
        folderChoices.pop_front();
        return 1;
    }
    // Answers with the queued face name; empty: cancelled.
    bool ChooseFontName(std::wstring& faceName) override {
        ++fontDialogs;
        if (fontChoice.empty()) return false;
        faceName = fontChoice;
        return true;
    }

    // The library dialogs: counted, answered with the flags below.
    bool RunLibraryProperties(CLarkspur2006Doc&) override {
        ++propertiesRuns;
        return propertiesChangeLibrary;
    }
    bool RunImport(CLarkspur2006Doc&) override {
        ++importRuns;
        return importWritesRows;
    }
    void RunTableHelp() override { ++tableHelpRuns; }
    // Recorded; `onStatusText` then acts as the user would on seeing it.
    void SetStatusText(const std::wstring& text) override {
        statusTexts.push_back(text);
        if (onStatusText) onStatusText(text);
    }

    std::deque<int> answers;
    std::deque<FileDialogResult> dialogResults;
    std::vector<Message> messages;
    std::vector<FileDialogRequest> requests;
    std::vector<std::wstring> titles;
    std::deque<std::pair<std::wstring, bool>> folderChoices;   // folder, search subfolders
    std::vector<std::wstring> browseStarts;
    std::wstring fontChoice;
    std::vector<std::wstring> statusTexts;
    std::function<void(const std::wstring&)> onStatusText;
    int fontDialogs = 0;
    int propertiesRuns = 0;
    int importRuns = 0;
    int tableHelpRuns = 0;
    bool propertiesChangeLibrary = false;
    bool importWritesRows = false;
};

// A view without a window that records the hints it receives.
class RecordingView : public CView {
public:
    struct Hint {
        LPARAM code;
        CObject* object;
        bool clearLists;   // for hint 10
    };
    void OnUpdate(CView*, LPARAM hint, CObject* object) override;
    std::vector<Hint> hints;
};

// A document with an open library in a fresh profile folder.
class Library {
public:
    Library() : settings(MakeSettings(dir.path())), doc(settings, &host) {
        doc.InitSqlTexts();
        opened = doc.OpenLibrary(settings.libraryPath);
        doc.AddView(&view);
    }
    ~Library() { doc.RemoveView(&view); }

    CSQlite& db() { return doc.GetDatabase(); }
    // One value of a one-row query (64-bit), or -1 when there is no row.
    long long Scalar(const std::wstring& sql);
    std::wstring Text(const std::wstring& sql);
    // The rows of `playlist` as the play-list view would load them.
    int PlaylistRows();
    // Writes a row through the document's insert text.
    bool Insert(const TrackRecord& t);

    testing_support::TempDir dir;
    CAppSettings settings;
    FakeHost host;
    DBErrorRecorder errors;
    CLarkspur2006Doc doc;
    RecordingView view;
    bool opened = false;
};

// The bytes of a 16-bit PCM WAV file; `samples` holds the channels' values interleaved.
std::string PcmWaveBytes(int channels, int rate, const std::vector<int16_t>& samples);

TrackRecord MakeTrack(const std::wstring& path, const std::wstring& title, const std::wstring& artist = L"",
                      const std::wstring& album = L"", const std::wstring& track = L"");

}  // namespace doc_test
