// The main frame's bars and panes, "toolbar.ini", and the placement and pane sizes kept in
// the settings.
#include "document/DocTestSupport.h"
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "ui/controls/DrawnText.h"
#include "ui/controls/EditEx.h"
#include "ui/views/BandLayout.h"
#include "ui/views/KanaBaseTable.h"
#include "framework/DockState.h"
#include "framework/PopupMenu.h"
#include "ui/views/Larkspur2006View.h"
#include "ui/views/MainFrame.h"
#include "ui/views/PaneViews.h"
#include <gtest/gtest.h>
#include <memory>

using namespace doc_test;

namespace {

// A hidden main frame over a document of its own settings, created as the program does
// (without starting the document: the bars need no library).
class MainFrameTest : public ::testing::Test {
protected:
    MainFrameTest() {
        app.m_nCmdShow = SW_HIDE;
        app.SetProfileFile(dir.file(L"toolbar.ini"));
        settings = MakeSettings(dir.path());
        settings.informationView.imageSize = 150;
        settings.bass.masterVolume = 70;
        settings.search.searchWay = 8;
        settings.search.searchRecent = {L"古い言葉", L"新しい言葉"};
        const INT32 sizes[8] = {200, 200, 200, 200, 0, 148, 0, 0};
        std::copy(std::begin(sizes), std::end(sizes), settings.mainWindow.placement.paneSizes);
    }
    ~MainFrameTest() override { Close(); }

    CMainFrame* Open() {
        Close();
        auto* doc = new CLarkspur2006Doc(settings);
        CCreateContext context;
        context.document = doc;
        context.newView = [] { return static_cast<CView*>(new CLarkspur2006View); };
        frame = new CMainFrame;
        if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
            delete frame;
            delete doc;
            frame = nullptr;
        }
        return frame;
    }
    void Close() {
        if (frame && ::IsWindow(frame->m_hWnd)) ::DestroyWindow(frame->m_hWnd);
        frame = nullptr;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }

    std::vector<UINT> BandIds() const {
        std::vector<UINT> ids;
        CReBarCtrl& rebar = frame->m_wndReBar.GetReBarCtrl();
        for (UINT i = 0; i < rebar.GetBandCount(); ++i) {
            REBARBANDINFOW info;
            CReBarCtrl::PrepareBandInfo(info, RBBIM_ID);
            rebar.GetBandInfo(i, &info);
            ids.push_back(info.wID);
        }
        return ids;
    }
    REBARBANDINFOW Band(UINT id) const {
        CReBarCtrl& rebar = frame->m_wndReBar.GetReBarCtrl();
        REBARBANDINFOW info;
        CReBarCtrl::PrepareBandInfo(info, RBBIM_ID | RBBIM_STYLE | RBBIM_SIZE | RBBIM_CHILD | RBBIM_CHILDSIZE);
        info.wID = 0xFFFF;
        const int index = rebar.IDToIndex(id);
        if (index >= 0) rebar.GetBandInfo(index, &info);
        return info;
    }
    void WriteIni(const std::string& text) {
        ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"toolbar.ini"), text));
    }
    std::string Hex(const std::vector<BYTE>& bytes) {
        static const char digits[] = "0123456789ABCDEF";
        std::string out;
        for (BYTE b : bytes) {
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        return out;
    }

    CWinApp app;
    testing_support::TempDir dir;
    CAppSettings settings;
    CMainFrame* frame = nullptr;
};

}  // namespace

TEST_F(MainFrameTest, CaptionIsThePlayersAndTheWindowHasNoMenuOfItsOwn) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr) << "menu 128 is shown by the menu bar";
    EXPECT_EQ(frame->GetWindowText(), L"Spur");
    frame->GetActiveDocument()->SetTitle(L"無題");
    frame->SetCaption(L"曲名 - Spur");
    frame->InitialUpdateFrame(frame->GetActiveDocument(), FALSE);
    EXPECT_EQ(frame->GetWindowText(), L"曲名 - Spur") << "the document's title never replaces it";

    // The frame's constructor gave the group view its table of plain kana.
    const auto& kana = KanaBaseTable();
    EXPECT_EQ(kana.size(), 25u);
    EXPECT_EQ(kana.at(L'が'), L'か');
    EXPECT_EQ(kana.at(L'ぢ'), L'ち');
    EXPECT_EQ(kana.at(L'ぽ'), L'ほ');
    EXPECT_EQ(kana.count(L'か'), 0u);
}

TEST_F(MainFrameTest, FrameBuildsItsRebarToolbarsAndStatusBar) {
    ASSERT_NE(Open(), nullptr);
    // Without "toolbar.ini": menu bar, navigate, search, library, playback.
    const std::vector<UINT> ids = BandIds();
    ASSERT_GE(ids.size(), 5u);
    EXPECT_EQ(std::vector<UINT>(ids.begin(), ids.begin() + 5), (std::vector<UINT>{0, 1, 2, 3, 4}));
    EXPECT_EQ(ids.size(), 6u);
    const HWND children[] = {frame->m_wndMenuBar.m_hWnd, frame->m_wndToolBarNavigate.m_hWnd,
                             frame->m_wndToolBarSearch.m_hWnd, frame->m_wndToolBarLibrary.m_hWnd,
                             frame->m_wndToolBarPlayback.m_hWnd, frame->m_wndSliderBar.m_hWnd};
    for (UINT id = 0; id < 6; ++id) {
        EXPECT_NE(children[id], nullptr) << id;
        EXPECT_EQ(Band(id).hwndChild, children[id]) << id;
        EXPECT_EQ(Band(id).fStyle & RBBS_NOGRIPPER, 0u) << id;
    }
    EXPECT_EQ(Band(BandNavigate).cxMinChild, 150u);
    EXPECT_GE(Band(BandSearch).cxMinChild, (UINT)frame->m_wndToolBarSearch.WidthForText(150));
    EXPECT_EQ(Band(BandSeek).cyMinChild, 31u);
    EXPECT_EQ(frame->m_wndMenuBar.GetItemCount(), 7) << "the top-level entries of menu 128";

    // Buttons in order with their images; the play modes are hidden; the repeat-mode button
    // shows the stored play mode 2 (list repeat) with image 13.
    using B = std::vector<std::pair<UINT, int>>;
    auto buttons = [](CToolBar& bar) {
        B out;
        for (int i = 0; i < bar.GetCount(); ++i) {
            UINT id, style;
            int image;
            bar.GetButtonInfo(i, id, style, image);
            out.push_back({id, (style & TBBS_SEPARATOR) ? -1 : image});
        }
        return out;
    };
    EXPECT_EQ(buttons(frame->m_wndToolBarLibrary),
              (B{{32777, 0}, {32778, 1}, {0, -1}, {32803, 2}, {32804, 3}, {0, -1}, {32786, 4}}));
    EXPECT_EQ(buttons(frame->m_wndToolBarPlayback),
              (B{{32815, 5}, {32816, 6}, {32806, 7}, {32817, 8}, {32818, 9}, {0, -1}, {32858, 13},
                 {32853, 10}, {32854, 11}, {32855, 12}, {32856, 13}, {32857, 14}}));
    EXPECT_EQ(buttons(frame->m_wndToolBarNavigate), (B{{32922, 0}, {32923, 1}, {32950, -1}}));
    EXPECT_EQ(buttons(frame->m_wndToolBarSearch), (B{{32929, -1}, {32930, -1}, {32928, 2}}));
    for (int id = 32853; id <= 32857; ++id)
        EXPECT_TRUE(frame->m_wndToolBarPlayback.GetToolBarCtrl().IsButtonHidden(id)) << id;
    const int expectedImage[] = {10, 11, 13, 12, 14};
    for (int mode = 0; mode < 5; ++mode) {
        frame->SetRepeatModeButton(mode);
        UINT id, style;
        int image;
        frame->m_wndToolBarPlayback.GetButtonInfo(6, id, style, image);
        EXPECT_EQ(id, 32858u);
        EXPECT_NE(style & TBBS_DROPDOWN, 0u) << "keeps its drop-down";
        EXPECT_EQ(image, expectedImage[mode]) << mode;
    }

    // Controls inside the toolbars: the query title, the search mode (its items carry the
    // search ways, "SearchWay" selected) and the search text (recent words, newest first).
    EXPECT_EQ(::GetParent(frame->m_wndQueryTitle.m_hWnd), frame->m_wndToolBarNavigate.m_hWnd);
    EXPECT_EQ(frame->m_wndQueryTitle.GetDlgCtrlID(), 32950);
    EXPECT_EQ(::GetParent(frame->m_wndSearchMode.m_hWnd), frame->m_wndToolBarSearch.m_hWnd);
    ASSERT_EQ(frame->m_wndSearchMode.GetCount(), 9);
    std::vector<int> ways;
    for (int i = 0; i < 9; ++i) ways.push_back(static_cast<int>(frame->m_wndSearchMode.GetItemData(i)));
    EXPECT_EQ(ways, (std::vector<int>{127, 1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_EQ(frame->m_wndSearchMode.GetItemData(frame->m_wndSearchMode.GetCurSel()), 8u);
    ASSERT_EQ(frame->m_wndSearchText.GetCount(), 2);
    EXPECT_EQ(frame->m_wndSearchText.GetLBText(0), L"新しい言葉");
    EXPECT_EQ(::GetParent(frame->m_wndSearchEdit.m_hWnd), frame->m_wndSearchText.m_hWnd) << "the combo's edit field";
    EXPECT_TRUE(frame->m_wndSearchEdit.ShowsHint());
    EXPECT_EQ(frame->m_wndToolBarSearch.GetModeCaption(127), L"単語検索");

    // The status bar: the message pane, then 500, 18, 100 and 30 pixels, the volume
    // trackbar over pane 3 at "MasterVolume".
    CStatusBarOD& status = frame->m_wndStatusBar;
    ASSERT_EQ(status.GetCount(), 5);
    const int widths[] = {0, 500, 18, 100, 30};
    for (int i = 1; i < 5; ++i) {
        UINT id, style;
        int width;
        status.GetPaneInfo(i, id, style, width);
        EXPECT_EQ(width, widths[i]) << i;
    }
    CSliderVolume& volume = status.GetVolumeSlider();
    EXPECT_EQ(volume.GetDlgCtrlID(), 3);
    EXPECT_EQ(volume.GetPos(), 70);
    EXPECT_EQ(volume.GetRangeMax(), 100);
    RECT pane, slider;
    status.GetItemRect(CStatusBarOD::PaneVolume, &pane);
    ::GetWindowRect(volume.m_hWnd, &slider);
    ::MapWindowPoints(nullptr, status.m_hWnd, reinterpret_cast<POINT*>(&slider), 2);
    EXPECT_EQ(slider.left, pane.left);
    EXPECT_EQ(slider.right, pane.right);

    // The system menu holds "メニュー(&M)", checked while the menu bar shows; it hides and
    // brings back the bar.
    HMENU system = ::GetSystemMenu(frame->m_hWnd, FALSE);
    wchar_t text[64] = {};
    ::GetMenuStringW(system, ID_VIEW_MENU_BAR, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"メニュー(&M)");
    EXPECT_TRUE(::GetMenuState(system, ID_VIEW_MENU_BAR, MF_BYCOMMAND) & MF_CHECKED);
    ::SendMessageW(frame->m_hWnd, WM_SYSCOMMAND, ID_VIEW_MENU_BAR, 0);
    EXPECT_FALSE(::GetWindowLongPtrW(frame->m_wndMenuBar.m_hWnd, GWL_STYLE) & WS_VISIBLE);
    EXPECT_NE(Band(BandMenuBar).fStyle & RBBS_HIDDEN, 0u);
    EXPECT_FALSE(::GetMenuState(system, ID_VIEW_MENU_BAR, MF_BYCOMMAND) & MF_CHECKED);
    ::SendMessageW(frame->m_hWnd, WM_SYSCOMMAND, ID_VIEW_MENU_BAR, 0);
    EXPECT_EQ(Band(BandMenuBar).fStyle & RBBS_HIDDEN, 0u);
    EXPECT_TRUE(::GetMenuState(system, ID_VIEW_MENU_BAR, MF_BYCOMMAND) & MF_CHECKED);
    // The View menu's item does the same, and its check follows.
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_VIEW_MENU_BAR, 0);
    EXPECT_NE(Band(BandMenuBar).fStyle & RBBS_HIDDEN, 0u);
    EXPECT_FALSE(::GetMenuState(system, ID_VIEW_MENU_BAR, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(MainFrameTest, QueryTitleAndSearchTextTakeTheirRowsSpareAndShowTheirTexts) {
    auto width = [](HWND window) {
        RECT r{};
        ::GetWindowRect(window, &r);
        return static_cast<int>(r.right - r.left);
    };
    auto openAt = [this](int windowWidth) {
        if (!Open()) return false;
        ::MoveWindow(frame->m_hWnd, 0, 0, windowWidth, 700, FALSE);
        return true;
    };
    // First start, no "toolbar.ini": the search band holds a text box of at least 150 pixels
    // that shows its hint whole. The query title and the search text take what their rows have
    // to spare: every other band keeps the length it asks, and no row is left part empty.
    for (int windowWidth : {960, 1100, 1280}) {
        SCOPED_TRACE(windowWidth);
        ASSERT_TRUE(openAt(windowWidth));
        EXPECT_GE(Band(BandSearch).cxMinChild, (UINT)frame->m_wndToolBarSearch.WidthForText(150));
        EXPECT_GE(width(frame->m_wndSearchText.m_hWnd), 150);
        EXPECT_EQ(width(frame->m_wndSearchMode.m_hWnd), 100);
        RECT field{};
        ::GetClientRect(frame->m_wndSearchEdit.m_hWnd, &field);
        HDC dc = ::GetDC(frame->m_wndSearchEdit.m_hWnd);
        HGDIOBJ oldFont = ::SelectObject(dc, frame->m_wndSearchEdit.GetFont());
        EXPECT_GE(field.right - 4, DrawnTextWidth(dc, CEditEx::HintText()));
        ::SelectObject(dc, oldFont);
        ::ReleaseDC(frame->m_wndSearchEdit.m_hWnd, dc);

        CReBarCtrl& rebar = frame->m_wndReBar.GetReBarCtrl();
        RECT bar{};
        ::GetClientRect(frame->m_wndReBar.m_hWnd, &bar);
        for (UINT i = 0; i < rebar.GetBandCount(); ++i) {
            RECT r{}, borders{};
            rebar.GetRect(i, &r);
            REBARBANDINFOW info;
            CReBarCtrl::PrepareBandInfo(info, RBBIM_ID | RBBIM_SIZE | RBBIM_CHILDSIZE);
            rebar.GetBandInfo(i, &info);
            RECT next{};
            const bool lastOfRow = i + 1 == rebar.GetBandCount() || (rebar.GetRect(i + 1, &next), next.top != r.top);
            if (lastOfRow) {
                EXPECT_EQ(r.right, bar.right) << "band " << info.wID;
            }
            if (info.wID == BandSearch || info.wID == BandNavigate || lastOfRow) continue;
            rebar.SendMessage(RB_GETBANDBORDERS, i, reinterpret_cast<LPARAM>(&borders));
            const UINT asked = std::max<UINT>(info.cx, info.cxMinChild + borders.left + borders.right);
            EXPECT_EQ((UINT)(r.right - r.left), asked) << "band " << info.wID;
        }
        // The title's box covers what the back and forward buttons leave of its band.
        RECT navigate{}, back{}, forward{};
        frame->m_wndToolBarNavigate.GetClientRect(&navigate);
        frame->m_wndToolBarNavigate.GetItemRect(0, &back);
        frame->m_wndToolBarNavigate.GetItemRect(1, &forward);
        EXPECT_EQ(width(frame->m_wndQueryTitle.m_hWnd),
                  navigate.right - (back.right - back.left) - (forward.right - forward.left) - 2);
        Close();
    }

    // A stored search band narrower than the text box needs is widened to it; a wider one stays.
    for (UINT stored : {0u, 160u, 420u}) {
        std::string ini = "[Rebar]\r\nBandCount=6\r\n";
        for (UINT id = 0; id < 6; ++id)
            ini += "BandInfo_0" + std::to_string(id) + "=" +
                   Hex(EncodeBandRecord({RBBS_GRIPPERALWAYS | (id == BandLibrary ? RBBS_BREAK : 0u),
                                         id == BandSearch ? stored : 0u, id})) + "\r\n";
        WriteIni(ini);
        ASSERT_TRUE(openAt(1100));
        const REBARBANDINFOW band = Band(BandSearch);
        RECT borders{};
        CReBarCtrl& rebar = frame->m_wndReBar.GetReBarCtrl();
        rebar.SendMessage(RB_GETBANDBORDERS, rebar.IDToIndex(BandSearch), reinterpret_cast<LPARAM>(&borders));
        EXPECT_GE(band.cx, band.cxMinChild + borders.left + borders.right) << stored;
        if (stored == 420) EXPECT_EQ(band.cx, 420u);
        EXPECT_GE(width(frame->m_wndSearchText.m_hWnd), 150) << stored;
        Close();
    }
}

TEST_F(MainFrameTest, BandLayoutIsSavedAndRestoredAndLockingIsTheSettingAlone) {
    ASSERT_NE(Open(), nullptr);
    CReBarCtrl& rebar = frame->m_wndReBar.GetReBarCtrl();
    // Move the playback toolbar to the front, hide the search toolbar, widen the library one.
    rebar.SendMessage(RB_MOVEBAND, rebar.IDToIndex(BandPlayback), 0);
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_VIEW_SEARCH_BAR, 0);
    REBARBANDINFOW info;
    CReBarCtrl::PrepareBandInfo(info, RBBIM_SIZE);
    info.cx = 260;
    rebar.SetBandInfo(rebar.IDToIndex(BandLibrary), &info);
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_LOCK_TOOLBARS, 0);
    EXPECT_TRUE(settings.mainWindowOptions.noGripper);
    for (UINT id = 0; id < 5; ++id) EXPECT_NE(Band(id).fStyle & RBBS_NOGRIPPER, 0u) << id;
    const std::vector<UINT> order = BandIds();
    Close();

    // The records carry no gripper bit: locking is "NoGripper" alone.
    std::vector<BYTE> record;
    ASSERT_TRUE(app.GetProfileBinary(L"Rebar", L"BandInfo_00", record));
    StoredBand first;
    ASSERT_TRUE(DecodeBandRecord(record, first));
    EXPECT_EQ(first.id, (UINT)BandPlayback);
    EXPECT_EQ(app.GetProfileInt(L"Rebar", L"BandCount", -1), order.size());

    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(BandIds(), order);
    EXPECT_EQ(Band(BandLibrary).cx, 260u);
    EXPECT_NE(Band(BandSearch).fStyle & RBBS_HIDDEN, 0u);
    EXPECT_FALSE(::GetWindowLongPtrW(frame->m_wndToolBarSearch.m_hWnd, GWL_STYLE) & WS_VISIBLE);
    for (UINT id = 0; id < 5; ++id) EXPECT_NE(Band(id).fStyle & RBBS_NOGRIPPER, 0u) << "locked by the setting";
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_LOCK_TOOLBARS, 0);
    EXPECT_FALSE(settings.mainWindowOptions.noGripper);
    for (UINT id = 0; id < 5; ++id) EXPECT_EQ(Band(id).fStyle & RBBS_NOGRIPPER, 0u) << id;
}

TEST_F(MainFrameTest, DamagedToolbarIniNeverCrashesTheStart) {
    const std::string good0 = Hex(EncodeBandRecord({RBBS_GRIPPERALWAYS, 300, BandLibrary}));
    const std::string good1 = Hex(EncodeBandRecord({RBBS_GRIPPERALWAYS, 0, BandMenuBar}));
    std::string record64(200, 'A');   // the size of the structure on 64-bit Windows
    struct Case {
        const char* what;
        std::string ini;
        std::vector<UINT> bands;   // expected order (the first five; the seek bar is not checked)
    };
    const Case cases[] = {
        {"records that are not hexadecimal, short, of another size, of an unknown band",
         "[Rebar]\r\nBandCount=5\r\nBandInfo_00=zz\r\nBandInfo_01=0102\r\nBandInfo_02=" + record64 +
             "\r\nBandInfo_03=" + Hex(EncodeBandRecord({0, 0, 0})).replace(104, 8, "63000000") +
             "\r\nBandInfo_04=" + Hex(std::vector<BYTE>(80, 0xFF)) + "\r\n",
         {0, 1, 2, 3, 4}},
        {"a huge count with two good records",
         "[Rebar]\r\nBandCount=2147483647\r\nBandInfo_00=" + good0 + "\r\nBandInfo_01=" + good1 + "\r\n",
         {BandLibrary, BandMenuBar}},
        {"a negative count", "[Rebar]\r\nBandCount=-7\r\n", {0, 1, 2, 3, 4}},
        {"a band named twice",
         "[Rebar]\r\nBandCount=2\r\nBandInfo_00=" + good1 + "\r\nBandInfo_01=" + good1 + "\r\n", {BandMenuBar}},
        {"binary garbage", std::string("\xFF\xFE\x00\x01[Reb\x00ar]\r\n\x80\x81=\x00", 19), {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        WriteIni(c.ini);
        ASSERT_NE(Open(), nullptr) << c.what;
        std::vector<UINT> ids = BandIds();
        if (ids.size() > c.bands.size()) ids.resize(c.bands.size());
        EXPECT_EQ(ids, c.bands) << c.what;
        if (!ids.empty() && ids[0] == BandLibrary) {
            EXPECT_EQ(Band(BandLibrary).cx, 300u) << c.what;
        }
        Close();
    }
    // A count of 0 or one that is not a number gives the default layout, never an empty rebar.
    for (const char* count : {"0", "abc"}) {
        WriteIni(std::string("[Rebar]\r\nBandCount=") + count + "\r\nBandInfo_00=" + good0 + "\r\n");
        ASSERT_NE(Open(), nullptr) << count;
        EXPECT_EQ(BandIds(), (std::vector<UINT>{0, 1, 2, 3, 4, 5})) << count;
        Close();
    }
}

TEST_F(MainFrameTest, DamagedMenuBarRecordNeverRemovesTheMenuBarForGood) {
    // A layout as the program stores it, the menu bar moved below the toolbars.
    const UINT order[] = {BandNavigate, BandSearch, BandLibrary, BandPlayback, BandSeek, BandMenuBar};
    auto ini = [this, &order](const std::string& menuRecord) {
        std::string text = "[Rebar]\r\nBandCount=6\r\n";
        for (int i = 0; i < 5; ++i)
            text += "BandInfo_0" + std::to_string(i) + "=" + Hex(EncodeBandRecord({RBBS_GRIPPERALWAYS, 200, order[i]})) + "\r\n";
        return text + "BandInfo_05=" + menuRecord + "\r\n";
    };
    std::string wide = Hex(EncodeBandRecord({RBBS_GRIPPERALWAYS, 0, BandMenuBar}));
    wide.replace(88, 8, "00800000");   // width 32768
    std::string notHex = Hex(EncodeBandRecord({RBBS_GRIPPERALWAYS, 0, BandMenuBar}));
    notHex[10] = 'G';
    for (const std::string& record : {wide, notHex}) {
        WriteIni(ini(record));
        ASSERT_NE(Open(), nullptr) << record;
        EXPECT_EQ(BandIds(), std::vector<UINT>(std::begin(order), std::end(order))) << record;
        EXPECT_EQ(Band(BandMenuBar).hwndChild, frame->m_wndMenuBar.m_hWnd);
        EXPECT_EQ(Band(BandMenuBar).fStyle & RBBS_HIDDEN, 0u);
        EXPECT_EQ(Band(BandLibrary).cx, 200u) << "the readable records still apply";
        Close();
        // The exit stores the menu bar again, readable, so the next start has it too.
        EXPECT_EQ(app.GetProfileInt(L"Rebar", L"BandCount", -1), 6u);
        std::vector<BYTE> saved;
        StoredBand band;
        ASSERT_TRUE(app.GetProfileBinary(L"Rebar", L"BandInfo_05", saved));
        ASSERT_TRUE(DecodeBandRecord(saved, band));
        EXPECT_EQ(band.id, (UINT)BandMenuBar);
    }
}

TEST_F(MainFrameTest, PlacementIsStoredWhenTheWindowCloses) {
    ASSERT_NE(Open(), nullptr);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(frame->m_hWnd, &placement);
    placement.rcNormalPosition = RECT{40, 50, 740, 650};
    placement.showCmd = SW_HIDE;
    ::SetWindowPlacement(frame->m_hWnd, &placement);
    Close();
    const WINDOWPLACEMENT& stored = settings.mainWindow.placement.placement;
    EXPECT_EQ(stored.length, sizeof(WINDOWPLACEMENT));
    EXPECT_EQ(stored.rcNormalPosition.left, 40);
    EXPECT_EQ(stored.rcNormalPosition.bottom, 650);
}

namespace {
// Records the popups the frame opens instead of running a menu loop.
class PopupRecorder : public IPopupMenuPresenter {
public:
    PopupRecorder() { m_previous = AfxSetPopupMenuPresenter(this); }
    ~PopupRecorder() override { AfxSetPopupMenuPresenter(m_previous); }
    BOOL Track(HMENU menu, UINT, int x, int y, HWND owner, const TPMPARAMS*) override {
        firstIds.push_back(::GetMenuItemID(menu, 0));
        points.push_back(POINT{x, y});
        owners.push_back(owner);
        return FALSE;
    }
    std::vector<UINT> firstIds;
    std::vector<POINT> points;
    std::vector<HWND> owners;

private:
    IPopupMenuPresenter* m_previous = nullptr;
};
}  // namespace

TEST_F(MainFrameTest, RepeatButtonAndToolbarRightClickOpenTheirSubmenus) {
    ASSERT_NE(Open(), nullptr);
    PopupRecorder popups;
    CToolBar& playback = frame->m_wndToolBarPlayback;
    NMTOOLBARW drop{};
    drop.hdr.hwndFrom = playback.m_hWnd;
    drop.hdr.idFrom = IDW_PLAYBACK_BAR;
    drop.hdr.code = TBN_DROPDOWN;
    drop.iItem = ID_PLAYMODE_CYCLE;
    playback.GetItemRect(6, &drop.rcButton);
    ::SendMessageW(frame->m_hWnd, WM_NOTIFY, drop.hdr.idFrom, reinterpret_cast<LPARAM>(&drop));
    ASSERT_EQ(popups.firstIds.size(), 1u);
    EXPECT_EQ(popups.firstIds[0], (UINT)ID_PLAYMODE_SINGLE) << "Playback > play modes";
    POINT corner{drop.rcButton.left, drop.rcButton.bottom};
    ::ClientToScreen(playback.m_hWnd, &corner);
    EXPECT_EQ(popups.points[0].x, corner.x);
    EXPECT_EQ(popups.points[0].y, corner.y);
    EXPECT_EQ(popups.owners[0], frame->m_hWnd);

    NMHDR click{frame->m_wndToolBarLibrary.m_hWnd, IDW_LIBRARY_BAR, static_cast<UINT>(NM_RCLICK)};
    ::SendMessageW(frame->m_hWnd, WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
    ASSERT_EQ(popups.firstIds.size(), 2u);
    EXPECT_EQ(popups.firstIds[1], (UINT)ID_VIEW_MENU_BAR) << "View > toolbars";
}

TEST_F(MainFrameTest, FivePanesAreLaidOutFromTheStoredSizesAndTheirSizesAreKept) {
    const INT32 sizes[8] = {180, 150, 200, 260, 0, 148, 0, 0};
    std::copy(std::begin(sizes), std::end(sizes), settings.mainWindow.placement.paneSizes);
    settings.informationView.imageSize = 120;
    ASSERT_NE(Open(), nullptr);
    ::MoveWindow(frame->m_hWnd, 0, 0, 900, 700, FALSE);
    frame->InitialUpdateFrame(frame->GetActiveDocument(), FALSE);

    // Each pane holds the view the factory makes for it.
    const struct {
        CFlatSplitterWnd& splitter;
        int row;
        MainPane pane;
    } panes[] = {{frame->m_wndSplitterLeft, 0, MainPane::QueryTree}, {frame->m_wndSplitterLeft, 1, MainPane::GroupingBar},
                 {frame->m_wndSplitterLeft, 2, MainPane::GroupView}, {frame->m_wndSplitterRight, 0, MainPane::Information},
                 {frame->m_wndSplitterRight, 1, MainPane::Playlist}};
    for (const auto& p : panes) {
        CWnd* view = p.splitter.GetPane(p.row, 0);
        ASSERT_NE(view, nullptr) << static_cast<int>(p.pane);
        std::unique_ptr<CView> expected(CreateMainPaneView(p.pane));
        EXPECT_EQ(typeid(*view), typeid(*expected)) << static_cast<int>(p.pane);
        if (auto* placeholder = dynamic_cast<CPlaceholderView*>(view)) EXPECT_EQ(placeholder->GetPane(), p.pane);
    }

    int size = 0, minimum = 0;
    frame->m_wndSplitter.GetColumnInfo(0, size, minimum);
    EXPECT_EQ(size, 180);
    frame->m_wndSplitterLeft.GetRowInfo(0, size, minimum);
    EXPECT_EQ(size, 150);
    frame->m_wndSplitterLeft.GetRowInfo(1, size, minimum);
    EXPECT_EQ(size, 22);
    frame->m_wndSplitterRight.GetRowInfo(0, size, minimum);
    EXPECT_EQ(size, 120 + 34) << "the cover image decides, not the stored height";

    // The bars below the grouping bar and the information pane cannot be dragged; the others can.
    const auto barBelow = [](CFlatSplitterWnd& splitter, int row) {
        const RECT pane = splitter.GetPaneRect(row, 0);
        return splitter.HitTest(POINT{(pane.left + pane.right) / 2, pane.bottom + 2});
    };
    EXPECT_EQ(barBelow(frame->m_wndSplitterLeft, 0), CSplitterWnd::hSplitterBar1);
    EXPECT_EQ(barBelow(frame->m_wndSplitterLeft, 1), CSplitterWnd::noHit);
    EXPECT_EQ(barBelow(frame->m_wndSplitterRight, 0), CSplitterWnd::noHit);

    // What the user set is stored when the window closes and comes back on the next start.
    frame->m_wndSplitter.SetColumnInfo(0, 240, 0);
    frame->m_wndSplitterLeft.SetRowInfo(0, 130, 0);
    frame->m_wndSplitter.RecalcLayout();
    frame->m_wndSplitterLeft.RecalcLayout();
    Close();
    const INT32* stored = settings.mainWindow.placement.paneSizes;
    const INT32 expected[8] = {240, 130, 200, 0, 0, 154, 0, 0};
    for (int i : {0, 1, 2, 4, 5, 6, 7}) EXPECT_EQ(stored[i], expected[i]) << "s" << i;
    EXPECT_GT(stored[3], 0) << "the group view takes the rest of the left column";

    ASSERT_NE(Open(), nullptr);
    ::MoveWindow(frame->m_hWnd, 0, 0, 900, 700, FALSE);
    frame->InitialUpdateFrame(frame->GetActiveDocument(), FALSE);
    frame->m_wndSplitter.GetColumnInfo(0, size, minimum);
    EXPECT_EQ(size, 240);
}

TEST_F(MainFrameTest, PaneSizesOfAWindowNeverLaidOutAreNotStored) {
    ASSERT_NE(Open(), nullptr);
    ::MoveWindow(frame->m_hWnd, 0, 0, 0, 0, FALSE);
    frame->RecalcLayout();
    Close();
    const INT32 defaults[8] = {200, 200, 200, 200, 0, 148, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(settings.mainWindow.placement.paneSizes[i], defaults[i]) << "s" << i;
}
