#pragma once
#include "document/IDocumentHost.h"
#include "document/IPlayerHost.h"
#include "framework/FrameWnd.h"
#include "framework/ImageList.h"
#include "framework/ReBar.h"
#include "framework/Controls.h"
#include "framework/ToolBar.h"
#include "ui/controls/EditEx.h"
#include "ui/dialogs/OptionsSheet.h"
#include "ui/controls/FlatSplitterWnd.h"
#include "ui/controls/XPMenuBar.h"
#include "ui/views/SliderBar.h"
#include "ui/views/StatusBarOD.h"
#include "ui/views/ToolBarNavigate.h"
#include "ui/views/ToolBarSearch.h"
#include <functional>

class CAppSettings;
class CLarkspur2006Doc;

// The main window. It is the document's host (message boxes, file and folder dialogs) and
// the player's window: the end of a track ("BassSyncMsg") reaches the document through it.
// Its one rebar holds the menu bar, the navigate, search, library and playback toolbars and
// the seek bar; the status bar is below the panes.
class CMainFrame : public CFrameWnd, public IPlayerHost, public IDocumentHost, public IOptionsHost {
public:
    CMainFrame();

    CLarkspur2006Doc* GetDocument() const;
    // The document's settings (a record of defaults while the frame has no document).
    CAppSettings& Settings() const;

    // IPlayerHost
    HWND GetMainWindow() override { return m_hWnd; }
    void SetCaption(const std::wstring& text) override { SetWindowText(text); }
    // Minimised with the tray icon shown.
    bool IsInTray() override;
    // A balloon with the caller's title, text and icon, the tip updated.
    void ShowTrayBalloon(const std::wstring& title, const std::wstring& text, DWORD icon) override;
    // The tip for the track (null: none) and, with balloons on, its balloon.
    void UpdateTrayInfo(const TrackRecord* track) override;
    // The seek bar takes the player's status: play started, stopped or failed.
    void OnPlayStateChanged() override;
    // The seek bar's status listener; false while the seek bar does not exist.
    bool GetSeekBarListener(PlayerStatusCallback& callback, void*& user) override;
    // The repeat-mode button shows the image of play mode `mode` (0-4).
    void SetRepeatModeButton(int mode) override;
    // The status bar's volume trackbar follows the volume and the bar redraws at once.
    void SetVolumeSlider(int volume) override;

    // IDocumentHost
    int ShowMessage(const std::wstring& text, UINT type) override;
    bool ShowFileDialog(const FileDialogRequest& request, FileDialogResult& result) override;
    // The navigate toolbar's query title, repainted at once (MainFrameNavigate.cpp).
    void SetQueryTitle(const std::wstring& title) override;
    int BrowseForFolder(std::wstring& folder, bool& subfolders) override;
    // The status bar's message pane.
    void SetStatusText(const std::wstring& text) override;
    bool ChooseFontName(std::wstring& faceName) override;
    bool RunLibraryProperties(CLarkspur2006Doc& doc) override;
    bool RunImport(CLarkspur2006Doc& doc) override;
    void RunTableHelp() override;
    // The About sheet (MainFrameOptions.cpp).
    void RunAbout(CLarkspur2006Doc& doc) override;
    // The options sheet, with the hot keys suspended while it is open (MainFrameHotKeys.cpp).
    void RunOptions(CLarkspur2006Doc& doc) override;

    // IOptionsHost. The global hot keys are registered on this window with the action code
    // as identifier; a key that cannot be registered is cleared in the settings.
    void RegisterHotKeys() override;
    void UnregisterHotKeys() override;
    // The keyboard hook acts on local hot keys only while this is set.
    void SetHookEnabled(bool enabled) override { m_hookEnabled = enabled ? 1 : 0; }
    bool IsHookEnabled() const { return m_hookEnabled != 0; }
    // The keyboard hook: a local hot key runs its action and is swallowed.
    static LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);

    // ---- Actions, tray icon and quick search -------------------------------------------
    // Runs an action code (MainFrameActions.cpp); false without a document or for a code
    // that is not an action.
    BOOL ExecuteAction(int code);
    // The tray icon (MainFrameTray.cpp). ApplyTrayIconSetting shows it for "TaskTray.Type"
    // 1 and 2 and removes it otherwise.
    void AddTrayIcon();
    void RemoveTrayIcon();
    void ApplyTrayIconSetting() override;
    bool HasTrayIcon() const { return m_trayIconId != 0; }
    // Updates the icon's tip (`updateTip`) and shows a balloon: the caller's title and text
    // when given, else the track's (null track and texts: a balloon on screen goes down).
    void UpdateTrayInfo(const TrackRecord* track, bool updateTip, const wchar_t* title, const wchar_t* text,
                        DWORD iconFlags);
    // Every notification to the shell goes through this (empty: Shell_NotifyIconW).
    std::function<BOOL(DWORD message, NOTIFYICONDATAW& data)> trayNotifier;
    // Turns the search box's text and mode into the play list (MainFrameSearch.cpp).
    void RunQuickSearch();

    // The caption is the player's own ("AppTitle"): the document's title never enters it.
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    // The menu bar sees every message first; the wheel scrolls the pane under the cursor.
    BOOL PreTranslateMessage(MSG* msg) override;

    // The pane layout: the outer splitter holds the left splitter (query tree, grouping bar,
    // group view) and the right one (information pane, play list).
    CFlatSplitterWnd m_wndSplitter;
    CFlatSplitterWnd m_wndSplitterLeft;
    CFlatSplitterWnd m_wndSplitterRight;

    // The bars, open to the views and the document.
    CReBar m_wndReBar;
    CXPMenuBar m_wndMenuBar;
    CToolBar m_wndToolBarLibrary;
    CToolBar m_wndToolBarPlayback;
    CStatusBarOD m_wndStatusBar;
    CSliderBar m_wndSliderBar;
    CToolBarNavigate m_wndToolBarNavigate;
    CToolBarSearch m_wndToolBarSearch;
    // In the search toolbar: the search mode (32929) and the search text (32930); in the
    // navigate toolbar: the query title (32950).
    CComboBox m_wndSearchMode;
    CComboBox m_wndSearchText;
    // The search-text combo's edit field.
    CEditEx m_wndSearchEdit;
    CStatic m_wndQueryTitle;

    // The registered messages of the tray icon, of a restarted shell and of other programs.
    static const UINT s_msgTaskTrayNotify;
    static const UINT s_msgTaskbarCreated;
    static const UINT s_msgRunCommand;
    // What the search edit sends on Enter.
    static const UINT s_msgComboEditReflect;

protected:
    // The window has no menu of its own: the menu bar shows menu 128.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // The five panes in three splitters, sized from the stored pane sizes.
    BOOL OnCreateClient(LPCREATESTRUCTW cs, CCreateContext* context) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Owner-drawn menus and the status bar's own panes, before the message map.
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT OnDropFiles(WPARAM drop, LPARAM);
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    LRESULT OnBassSync(WPARAM stream, LPARAM data);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
    // A minimised window hides into the tray for "TaskTray.Type" 2 and 3 (MainFrameTray.cpp).
    void OnSize(UINT type, int cx, int cy);

    // Bar toggles and the toolbar lock (MainFrameBars.cpp).
    void OnViewPlaybackBar();
    void OnViewSeekBar();
    void OnViewMenuBar();
    void OnViewNavigateBar();
    void OnViewSearchBar();
    void OnUpdateViewPlaybackBar(CCmdUI* ui);
    void OnUpdateViewSeekBar(CCmdUI* ui);
    void OnUpdateViewMenuBar(CCmdUI* ui);
    void OnUpdateViewNavigateBar(CCmdUI* ui);
    void OnUpdateViewSearchBar(CCmdUI* ui);
    void OnToggleTimeDisplay();
    void OnLockToolbars();
    void OnUpdateLockToolbars(CCmdUI* ui);
    // "SearchWay" := the way of the selected search mode.
    void StoreSearchWay();
    DECLARE_MESSAGE_MAP()

private:
    // Keeps the window placement in "Placement" (the settings reach "config.ini" at exit).
    void StorePlacement();
    // Keeps the splitters' sizes in the pane sizes stored after the placement.
    void StorePaneSizes();

    // MainFrameBars.cpp
    bool CreateBars();
    // The combo boxes of the search toolbar and the query title of the navigate toolbar.
    void CreateToolBarControls();
    // Widens the search-text combo's list to its widest entry; `atCreation`: the first fit,
    // which adds its 4 pixels to the larger of the list's width and that entry.
    void FitSearchDropWidth(bool atCreation);
    // The narrowest search-text combo that shows a typed word and its hint whole.
    int SearchTextLeastWidth();
    // "toolbar.ini": the dock state "Layout" and the band records of section "Rebar". The
    // save writes the file whole; false when it could not (the file is then as it was).
    void LoadBarLayout();
    bool SaveBarLayout();
    // Sets or clears every band's no-gripper bit by "NoGripper".
    void ApplyToolbarLock();
    void SetBandMinimum(UINT bandId, int width, int height);
    // The length a band asks of its row.
    void SetBandWidth(UINT bandId, UINT width);
    // A band's length for a child `childWidth` pixels wide: the child with the band's gripper
    // and edges.
    UINT BandLengthFor(UINT bandId, UINT childWidth);
    // Makes a band at least as long as its minimum child width needs.
    void WidenBandToMinimum(UINT bandId);
    // The bar of a band id (0 menu bar ... 5 seek bar), or null.
    CControlBar* BandBar(UINT bandId);
    bool IsBarShown(CControlBar& bar) const;
    void ShowBar(CControlBar& bar, bool show);
    // The menu bar's visibility, with the system menu's item checked to match.
    void ShowMenuBar(bool show);
    void CheckSystemMenuItem();
    // Opens submenu `submenu` of top-level menu `topLevel` of the menu bar's menu.
    void TrackMenuBarSubmenu(int topLevel, int submenu, POINT at, UINT flags);

    // MainFrameHotKeys.cpp: the keyboard hook of the UI thread, from creation to destruction.
    void InstallKeyboardHook();
    void RemoveKeyboardHook();
    // True while the search box has the keyboard focus: hot keys stay out of typing then.
    bool SearchHasFocus() const;
    // True while keys are typed text: the search box or any edit field has the focus, or a
    // modal dialog has disabled the window. Local hot keys let them through then.
    bool KeysBelongToTyping() const;
    LRESULT OnHotKey(WPARAM id, LPARAM);

    // MainFrameActions.cpp
    LRESULT OnRunCommand(WPARAM, LPARAM code);
    LRESULT OnAppCommand(WPARAM, LPARAM lParam);
    LRESULT OnPowerBroadcast(WPARAM event, LPARAM);
    LRESULT OnTimerMessage(WPARAM id, LPARAM);
    void OnFocusSearch();
    // Action 10: out of the tray and minimised state, to the foreground.
    void ShowMainWindow();
    // Actions 17-20: the pane at (row) of the left or right splitter becomes the active view.
    void ActivatePane(bool left, int row);

    // MainFrameTray.cpp
    LRESULT OnTrayNotify(WPARAM, LPARAM mouse);
    LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    void OnTrayTimer(UINT_PTR id);
    BOOL NotifyTray(DWORD message, NOTIFYICONDATAW& data);
    void FillTrayRecord(NOTIFYICONDATAW& data) const;
    bool IsWindows2000() const;

    // MainFrameSearch.cpp and MainFrameNavigate.cpp
    LRESULT OnSearchEnter(WPARAM, LPARAM);
    void OnSearchTextEdited();
    void OnSearchWayChosen();
    void OnUpdateHistoryItem(CCmdUI* ui);
    // The drop-downs of the search button and of back and forward.
    void ShowSearchOptions(const NMTOOLBARW& button);
    void ShowHistoryMenu(const NMTOOLBARW& button, bool back);
    // The way of the search mode's selected item (all columns when none is selected).
    int SelectedSearchWay() const;
    // The recent words into the search-text combo, newest first.
    void FillRecentWords();

    // The frame's timers: pending single clicks on the tray icon (left, right, middle), the
    // balloon's lifetime and the pause in typing that starts an incremental search.
    enum : UINT_PTR {
        kTimerTrayLeftClick = 100,
        kTimerTrayRightClick = 101,
        kTimerTrayMiddleClick = 102,
        kTimerBalloon = 200,
        kTimerIncrementalSearch = 300,
    };
    static const UINT kTrayIconId = 0x1234;

    CDocumentHostDefault m_dialogs;
    HHOOK m_hook = nullptr;
    BYTE m_hookEnabled = 0;
    UINT m_trayIconId = 0;
    // An add that timed out may have put the icon in the tray all the same: it is asked about
    // before the next add, and deleted whenever the icon is removed.
    bool m_trayAddTimedOut = false;
    CImageList m_imageListA;
    CImageList m_imageListB;
};
