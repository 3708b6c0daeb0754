// The main frame's bars and panes, "toolbar.ini", and the placement and pane sizes kept in
// the settings.
#include "document/DocTestSupport.h"
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "ui/views/KanaBaseTable.h"
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
