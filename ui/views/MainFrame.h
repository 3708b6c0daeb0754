#pragma once
#include "document/IDocumentHost.h"
#include "document/IPlayerHost.h"
#include "framework/FrameWnd.h"

class CLarkspur2006Doc;

// The main window. It is the document's host (message boxes, file and folder dialogs) and
// the player's window: the end of a track ("BassSyncMsg") reaches the document through it.
class CMainFrame : public CFrameWnd, public IPlayerHost, public IDocumentHost {
public:
    CMainFrame();

    CLarkspur2006Doc* GetDocument() const;

    // IPlayerHost
    HWND GetMainWindow() override { return m_hWnd; }
    void SetCaption(const std::wstring& text) override { SetWindowText(text); }
    bool IsInTray() override { return false; }
    void ShowTrayBalloon(const std::wstring&, const std::wstring&, DWORD) override {}
    void UpdateTrayInfo(const TrackRecord*) override {}
    void OnPlayStateChanged() override {}
    bool GetSeekBarListener(PlayerStatusCallback&, void*&) override { return false; }
    void SetRepeatModeButton(int) override {}
    void SetVolumeSlider(int) override {}

    // IDocumentHost
    int ShowMessage(const std::wstring& text, UINT type) override;
    bool ShowFileDialog(const FileDialogRequest& request, FileDialogResult& result) override;
    void SetQueryTitle(const std::wstring&) override {}
    int BrowseForFolder(std::wstring& folder, bool& subfolders) override;
    bool ChooseFontName(std::wstring& faceName) override;

    // The caption is the player's own ("AppTitle"): the document's title never enters it.
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    // The wheel scrolls the pane under the cursor, not the focused one.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // The window has no menu of its own: the menu bar shows menu 128.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    LRESULT OnDropFiles(WPARAM drop, LPARAM);
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    LRESULT OnBassSync(WPARAM stream, LPARAM data);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    CDocumentHostDefault m_dialogs;
};
