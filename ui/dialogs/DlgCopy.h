#pragma once
#include "app/AppSettings.h"
#include "app/TrackRecord.h"
#include "framework/Dialog.h"
#include "ui/controls/BrowseForFolder.h"
#include <shellapi.h>
#include <deque>
#include <functional>
#include <string>

// The folder chooser of the copy dialog: only folders a copy can go to can be chosen, and it
// opens on the folder given to it.
class CBrowseForFolderCopy : public CBrowseForFolder {
public:
    CBrowseForFolderCopy();
    std::wstring m_start;

protected:
    std::wstring InitialSelection() const override { return m_start; }
    void OnSelectionChanged(HWND dialog, PCIDLIST_ABSOLUTE item) override;
    void OnChosen(const std::wstring& path) override { m_start = path; }
};

// Runs the chooser over `owner` opened on `start`: 1 when a folder was chosen (its path in
// `holder`), 2 otherwise.
int BrowseForCopyFolder(HWND owner, const std::wstring& start, CBrowseForFolderCopy& holder);

// Copies the files of the selected tracks into a folder, each under a name made from a
// template, through the shell's file operation.
class CDlgCopy : public CDialog {
public:
    CDlgCopy();                                  // on the application's live settings
    explicit CDlgCopy(CAppSettings& settings);

    // The tracks belong to the caller and outlive the dialog.
    void AddTrack(const TrackRecord* track) {
        m_tracks.push_back(track);
        m_totalSize += track->file_size;
    }
    long long m_totalSize = 0;
    std::deque<const TrackRecord*> m_tracks;

    // Runs the shell's file operation; tests replace it. Returns the previous one.
    using FileOperation = std::function<int(SHFILEOPSTRUCTW&)>;
    static FileOperation SetFileOperation(FileOperation operation);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy();
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    void OnDestinationChange();
    void OnTemplateChange();
    void OnBrowse();
    DECLARE_MESSAGE_MAP()

private:
    void Validate();
    void DrawDriveBar(LPDRAWITEMSTRUCT item);

    CAppSettings& m_settings;
    HFONT m_templateFont = nullptr;
    CBrowseForFolderCopy m_browser;
    bool m_browsed = false;
};
