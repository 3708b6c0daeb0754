// The pages' live previews, drawn into a bitmap of our own through the page's owner-draw
// handling, and the hand cursor over the pages' links.
#include "OptionsTestSupport.h"
#include "app/ColorUtil.h"
#include "resources/resource.h"
#include "ui/controls/DibDC.h"
#include "ui/dialogs/SettingsPage.h"
#include <gtest/gtest.h>

using namespace opt_test;

namespace {

// A preview drawn by its page into a 32-bit bitmap of `cx` x `cy`.
class DrawnPreview {
public:
    DrawnPreview(CWnd& page, int id, int cx, int cy) : m_picture(nullptr, cx, cy) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(id);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = ::GetDlgItem(page, id);
        item.hDC = m_picture;
        item.rcItem = RECT{0, 0, cx, cy};
        page.SendMessage(WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
        ::GdiFlush();
    }
    COLORREF At(int x, int y) const {
        const DWORD p = m_picture.Pixels()[y * m_picture.Width() + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    CDibDC m_picture;
};

class SettingsPreviews : public ::testing::Test {
protected:
    SettingsPreviews() { SeedFields(lib.settings, 1); }
    doc_test::Library lib;
    RecordingOptionsHost host;
};

const COLORREF kGrid = RGB(255, 0, 0);

}  // namespace

TEST_F(SettingsPreviews, ThePlayListPreviewDrawsSolidDottedOrNoGridLines) {
    lib.settings.playlistView.colorGrid = kGrid;
    const struct {
        int index;   // "なし", "実線", "点線"
        int gridPixels;
    } cases[] = {{0, 0}, {1, 40}, {2, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        int onLine = 0;
        COLORREF frame = 0;
        lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
            CPropertyPage& visual = Show(d, Visual);
            Pick(visual, IDC_PPV_PL_GRID_TYPE, c.index);
            DrawnPreview preview(visual, IDC_PPV_PL_PREVIEW, 200, 40);
            for (int y = 0; y < 40; ++y) onLine += preview.At(32, y) == kGrid ? 1 : 0;
            frame = preview.At(0, 0);
            SheetOf(d).PressButton(PSBTN_CANCEL);
        });
        RunOptionsSheet(lib.doc, host);
        EXPECT_EQ(RGB(0x20, 0x20, 0x20), frame);
        if (c.gridPixels >= 0) EXPECT_EQ(c.gridPixels - (c.gridPixels ? 2 : 0), onLine);   // the frame covers the ends
        else EXPECT_TRUE(onLine > 5 && onLine < 35) << onLine;                              // every other pixel
    }
}

TEST_F(SettingsPreviews, TheGroupPreviewBlendsItsBordersAcrossTheWidth) {
    lib.settings.groupView.colorBorder1 = RGB(0, 0, 0);
    lib.settings.groupView.colorBorder2 = RGB(200, 100, 0);
    COLORREF left = 1, middle = 1;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& visual = Show(d, Visual);
        DrawnPreview preview(visual, IDC_PPV_GV_PREVIEW, 200, 60);
        left = preview.At(1, 31);
        middle = preview.At(100, 31);
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_EQ(RGB(1, 0, 0), left);   // x = 1 of 200: 200 * 1 / 200
    EXPECT_EQ(RGB(100, 50, 0), middle);
}

TEST_F(SettingsPreviews, TheNowPlayingPreviewDrawsShadowAndFrameOnlyWhenAsked) {
    CAppSettings::InformationView& v = lib.settings.informationView;
    v.colorBackground = RGB(200, 200, 200);
    v.colorImageBackground = RGB(0, 0, 255);
    v.colorImageFrame = RGB(0, 255, 0);
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        v.imageDrawShadow = on;
        v.imageDrawFrame = on;
        COLORREF shadow = 0, frameLine = 0, inside = 0, status = 0;
        lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
            CPropertyPage& page = Show(d, Information);
            DrawnPreview preview(page, IDC_PPI_PREVIEW, 400, 100);
            shadow = preview.At(73, 72);
            frameLine = preview.At(69, 30);
            inside = preview.At(30, 30);
            status = preview.At(400 - 110, 100 - 20);
            SheetOf(d).PressButton(PSBTN_CANCEL);
        });
        RunOptionsSheet(lib.doc, host);
        EXPECT_EQ(on ? AdjustColorHLS(v.colorBackground, -10, 0) : v.colorBackground, shadow);
        EXPECT_EQ(on ? v.colorImageFrame : v.colorImageBackground, frameLine);
        EXPECT_EQ(v.colorImageBackground, inside);
        EXPECT_EQ(v.colorGeneric1, status);
    }
}

TEST_F(SettingsPreviews, TextsAlignedToAnEdgeKeepOffTheFrame) {
    // The group preview's header text at the left edge, the related-albums sample at the right
    // edge of the now-playing preview, each in a colour of its own on a plain background.
    lib.settings.groupView.colorBackground = RGB(255, 255, 255);
    lib.settings.groupView.colorHeaderText = RGB(255, 0, 0);
    lib.settings.groupView.colorText = RGB(255, 255, 255);
    CAppSettings::InformationView& v = lib.settings.informationView;
    v.colorBackground = RGB(255, 255, 255);
    v.colorText = RGB(255, 0, 0);
    v.colorGeneric3 = RGB(255, 255, 255);
    v.fontNameRelated = v.fontName = v.fontNameSmall = v.fontNameBig = L"Tahoma";
    v.fontSizeRelated = 9;
    v.fontSizeSmall = 7;
    v.fontSizeBig = 12;
    auto inked = [](const DrawnPreview& preview, int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += preview.At(x, y) != RGB(255, 255, 255) ? 1 : 0;
        return n;
    };
    int groupText = 0, groupEdge = -1, relatedText = 0, relatedEdge = -1;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& visual = Show(d, Visual);
        const DrawnPreview group(visual, IDC_PPV_GV_PREVIEW, 200, 60);
        // The upper half, left of the centred sample.
        groupText = inked(group, 1, 60, 1, 30);
        groupEdge = inked(group, 1, settings_paint::kPreviewTextInset, 1, 30);
        CPropertyPage& information = Show(d, Information);
        const DrawnPreview playing(information, IDC_PPI_PREVIEW, 400, 100);
        // The first line, right of the small font's sample.
        relatedText = inked(playing, 300, 399, 1, 20);
        relatedEdge = inked(playing, 400 - settings_paint::kPreviewTextInset, 399, 1, 20);
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    EXPECT_GT(groupText, 0);
    EXPECT_EQ(0, groupEdge);
    EXPECT_GT(relatedText, 0);
    EXPECT_EQ(0, relatedEdge);
}

TEST_F(SettingsPreviews, TheLinksShowTheLiveHandCursor) {
    HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    lib.settings.generic.handCursor = hand;
    HCURSOR overHelp = nullptr, overHome = nullptr;
    lib_test::ScriptedDialogs dialogs([&](CDialog& d) {
        CPropertyPage& basic = Show(d, Basic);
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        basic.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(basic, IDC_PPD_FORMAT_HELP)),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overHelp = ::GetCursor();
        CPropertyPage& about = Show(d, About);
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        about.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(about, IDC_ABOUT_LINK)),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overHome = ::GetCursor();
        SheetOf(d).PressButton(PSBTN_CANCEL);
    });
    RunOptionsSheet(lib.doc, host);
    lib.settings.generic.handCursor = nullptr;
    EXPECT_EQ(hand, overHelp);
    EXPECT_EQ(hand, overHome);
}

TEST(SettingsFontSample, NamesAFaceOfAnyLengthWhole) {
    const std::wstring shortName = L"MS UI Gothic";
    const std::wstring longName = std::wstring(300, L'字') + L"末";
    EXPECT_EQ(L"MS UI Gothic : 9 pt", settings_paint::FontSample(shortName, 9));
    EXPECT_EQ(longName + L" : 12 pt", settings_paint::FontSample(longName, 12));
}
