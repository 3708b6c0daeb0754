#pragma once
#include "app/AppSettings.h"
#include "framework/Dialog.h"
#include "ui/controls/NonEraseBkButton.h"
#include "ui/dialogs/DlgImage.h"
#include "ui/dialogs/DlgLyrics.h"
#include "ui/views/InfoPaneColors.h"
#include "ui/views/InfoPaneLayout.h"
#include "ui/views/NowPlayingData.h"
#include "ui/views/NowPlayingWorkers.h"
#include "ui/views/SpecUIThread.h"
#include <commctrl.h>
#include <map>
#include <memory>
#include <string>

class CLarkspur2006Doc;
class CObject;

// A link of the pane: a tag value, a related album or the related-albums menu.
struct InfoHotSpot {
    enum Kind { TagLink = 0, RelatedAlbum = 1, RelatedMore = 2 };
    int kind = TagLink;
    std::wstring column;
    std::wstring value;
    RECT rect{};
    bool hovered = false;
};

// The now-playing pane: the current track with its cover, links, rating, state boxes,
// related albums and lyrics line. It owns the spectrum thread, the lyrics and cover windows
// and the three workers.
class CDlgInfo : public CDialog, private IJacketBackBuffer {
public:
    explicit CDlgInfo(CLarkspur2006Doc& doc);
    ~CDlgInfo() override;

    // A hint of the document's views.
    void OnUpdateInfo(CObject* hint, LPARAM code);
    BOOL OnInitDialog() override;
    void LayoutControls(int width, int height);

    // Status listeners of the player (copy under NowPlayingLock, then post).
    static void OnPlayerSpectrum(const PlayerStatusBlock* status, void* link);
    static void OnPlayerStatus(const PlayerStatusBlock* status, void* link);

    void SearchByLink(const std::wstring& value, const std::wstring& column);
    void ShowRelatedAlbumMenu();
    void OnToggleLyricsWindow();
    void OnToggleJacketWindow();

    // What the pane shows, for its owner and tests.
    NowPlayingData& Data() { return *m_data; }
    const InfoPaneLayout& Layout() const { return m_layout; }
    const std::map<std::wstring, InfoHotSpot>& HotSpots() const { return m_hotSpots; }
    const RECT& EqualizerBox() const { return m_statusBoxes.equalizer; }
    // Where the last paint put the status boxes, and the font of their captions.
    const StatusBoxLayout& StatusBoxes() const { return m_statusBoxes; }
    HFONT StatusFont() const { return m_fonts[FontSmallBold]; }
    CDlgLyrics& LyricsWindow() { return m_lyricsWnd; }
    CDlgImage& CoverWindow() { return m_imageWnd; }
    CSpecUIThread* SpectrumThread() { return m_spec.get(); }
    CNowPlayingWorkers* Workers() { return m_workers.get(); }
    CNonEraseBkButton& JacketButton() { return m_jacket; }
    bool RelatedAreaHovered() const { return m_relatedHover; }
    int Rating() const { return m_rating; }
    // The lyrics line the strip shows now; empty for none.
    std::wstring CurrentLyricsLine();

    INT_PTR OnToolHitTest(POINT point, TOOLINFOW* ti) const override;

protected:
    void OnOK() override {}
    void OnCancel() override {}
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(HDC) { return TRUE; }
    HBRUSH OnCtlColor(HDC dc, CWnd* wnd, UINT ctlType);
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    void OnLButtonUp(UINT flags, POINT point);
    void OnRButtonUp(UINT flags, POINT point);
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, POINT point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnRefresh(WPARAM part, LPARAM);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

private:
    // IJacketBackBuffer, used by the cover worker under NowPlayingLock.
    HDC BackBufferDC() override { return m_jacket.GetBackBufferDC(); }
    SIZE BackBufferSize() override { return m_jacket.GetBackBufferSize(); }

    void RebuildFonts();
    void FreeFonts();
    void RedrawChild(int id);
    void FillExtraRows();
    void ApplyRatingClick(int rating);
    // Drops the related-albums hot spots; painting makes those of the albums drawn again.
    void ClearRelatedHotSpots();
    InfoHotSpot& TouchHotSpot(const std::wstring& key, int kind, const std::wstring& column,
                              const std::wstring& value, const RECT& rect);
    const InfoHotSpot* HotSpotAt(POINT point, bool linksOnly, int* index = nullptr) const;

    // Drawing (DlgInfoPaint.cpp).
    void PaintPane(HDC dc, const RECT& client);
    void DrawStatusBoxes(HDC dc, const RECT& client);
    void DrawTrackInformation(HDC dc, const RECT& area);
    void DrawRelatedAlbums(HDC dc);
    void DrawJacket(const DRAWITEMSTRUCT* item);
    void DrawLyricsPanel(const DRAWITEMSTRUCT* item);

    struct ListenerLink;

    CLarkspur2006Doc* m_doc;
    CAppSettings& m_settings;
    HMENU m_menu = nullptr;
    enum FontIndex { FontNormal, FontNormalBold, FontNormalBoldUnderline, FontBigBold, FontBigBoldUnderline,
                     FontSmallBold, FontRelated, FontCount };
    HFONT m_fonts[FontCount] = {};
    HBRUSH m_background = nullptr;
    HIMAGELIST m_ratingImages = nullptr;
    InfoPaneColors m_colors{};
    std::shared_ptr<NowPlayingData> m_data;   // shared with the workers
    int m_rating = 0;
    std::map<std::wstring, InfoHotSpot> m_hotSpots;
    std::map<int, std::pair<std::wstring, std::wstring>> m_extraInfo;
    InfoPaneLayout m_layout{};
    StatusBoxLayout m_statusBoxes{};
    bool m_relatedHover = false;
    bool m_trackingLeave = false;   // WM_MOUSELEAVE asked for
    COLORREF m_jacketBackground = 0;
    std::wstring m_tipText;

    CNonEraseBkButton m_jacket;
    CNonEraseBkButton m_lyricsStrip;
    std::unique_ptr<CSpecUIThread> m_spec;
    std::shared_ptr<CNowPlayingWorkers> m_workers;
    CDlgLyrics m_lyricsWnd;
    CDlgImage m_imageWnd;
    ListenerLink* m_link = nullptr;
    static UINT s_refreshMsg;
};
