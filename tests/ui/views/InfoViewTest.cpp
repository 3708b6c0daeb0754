#include "ui/views/InfoView.h"
#include "ui/views/DlgInfo.h"
#include "ui/views/DlgOutput.h"
#include "app/ViewHints.h"
#include "document/DocTestSupport.h"
#include "framework/DocTemplate.h"
#include "framework/FrameIds.h"
#include <gdiplus.h>
#include <gtest/gtest.h>

namespace {

bool Shown(CWnd* w) { return w && w->m_hWnd && (w->GetStyle() & WS_VISIBLE); }

}  // namespace

TEST(InfoView, TabsSwapTheNowPlayingAndOutputPanesAndTheSelectedTabDoesNothing) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    {
        doc_test::Library lib;
        lib.settings.informationView.specHeight = 100;
        lib.settings.informationView.fontName = L"Tahoma";
        lib.settings.informationView.fontSize = 9;
        InitEqPreset(lib.settings.eq.presets[L"Default"], 0);
        lib.settings.bass.frequency = 44100;
        CWnd host;
        host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 900, 184, nullptr, 0);
        CCreateContext context;
        context.document = &lib.doc;
        auto* view = new CInfoView;   // deletes itself with its window
        ASSERT_TRUE(view->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 900, 184}, host.m_hWnd, AFX_IDW_PANE_FIRST, &context));
        view->OnInitialUpdate();
        ASSERT_TRUE(view->GetInfoPane() && view->GetOutputPane());
        EXPECT_TRUE(view->GetStyle() & WS_CLIPCHILDREN);
        EXPECT_TRUE(Shown(view->GetInfoPane()));
        EXPECT_FALSE(Shown(view->GetOutputPane()));
        RECT pane;
        view->GetInfoPane()->GetWindowRect(&pane);
        EXPECT_EQ(900 - 20, pane.right - pane.left);

        const LPARAM onOutputTab = MAKELPARAM(890, 54 + 20), onInfoTab = MAKELPARAM(890, 20);
        view->SendMessage(WM_LBUTTONUP, 0, onInfoTab);   // the selected tab
        EXPECT_EQ(0, view->GetSelectedTab());
        view->SendMessage(WM_LBUTTONUP, 0, onOutputTab);
        EXPECT_EQ(1, view->GetSelectedTab());
        EXPECT_FALSE(Shown(view->GetInfoPane()));
        EXPECT_TRUE(Shown(view->GetOutputPane()));
        view->SendMessage(WM_LBUTTONUP, 0, onInfoTab);
        EXPECT_EQ(0, view->GetSelectedTab());
        EXPECT_TRUE(Shown(view->GetInfoPane()));

        // Settings and equaliser hints reach both panes.
        lib.settings.bass.enableEq = true;
        lib.doc.UpdateAllViews(nullptr, HintEqualizerSwitched, nullptr);
        EXPECT_EQ(BST_CHECKED, view->GetOutputPane()->IsDlgButtonChecked(1050));
        lib.doc.UpdateAllViews(nullptr, HintSettingsChanged, nullptr);
        host.DestroyWindow();
    }
    Gdiplus::GdiplusShutdown(token);
}
