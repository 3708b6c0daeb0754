// The dock state "Layout" and binary profile entries survive a round trip through the
// profile file; damaged entries are skipped, never trusted.
#include "framework/BarTestFrame.h"
#include "framework/DockState.h"
#include "framework/WinApp.h"
#include "support/TestFiles.h"
#include <gtest/gtest.h>
#include <vector>

using namespace bar_test;
using namespace testing_support;

namespace {

class BarStateTest : public ::testing::Test {
protected:
    void SetUp() override { app.SetProfileFile(dir.file(L"toolbar.ini")); }
    void TearDown() override {
        for (BarFrame* f : frames)
            if (f->m_hWnd) f->DestroyWindow();
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {}
    }
    BarFrame* NewFrame() {
        auto* f = new BarFrame;
        if (!f->Build()) ADD_FAILURE() << "frame not built";
        frames.push_back(f);
        return f;
    }
    std::wstring Profile(const wchar_t* section, const wchar_t* key) {
        return app.GetProfileString(section, key, L"(none)");
    }
    TempDir dir;
    CWinApp app;
    std::vector<BarFrame*> frames;
};

TEST_F(BarStateTest, DockStateKeepsWhichBarsAreShown) {
    BarFrame* before = NewFrame();
    before->ShowControlBar(&before->status, FALSE, FALSE);
    before->ShowControlBar(&before->second, FALSE, FALSE);
    before->SaveBarState(L"Layout");
    EXPECT_EQ(Profile(L"Layout-Summary", L"Bars"), L"4");

    BarFrame* after = NewFrame();
    after->LoadBarState(L"Layout");
    EXPECT_FALSE(after->status.IsVisible());
    EXPECT_FALSE(after->second.IsVisible());
    EXPECT_TRUE(after->first.IsVisible());
    EXPECT_TRUE(after->rebar.IsVisible());
    // The layout follows: the view reaches the bottom edge.
    EXPECT_EQ(after->ChildRect(after->view->m_hWnd).bottom, after->ClientRect().bottom);

    // Saving fewer bars removes the sections of the others.
    after->status.DestroyWindow();
    after->SaveBarState(L"Layout");
    EXPECT_EQ(Profile(L"Layout-Summary", L"Bars"), L"3");
    EXPECT_EQ(Profile(L"Layout-Bar3", L"BarID"), L"(none)");
}

TEST_F(BarStateTest, MissingOrDamagedDockStateChangesNothing) {
    BarFrame* frame = NewFrame();
    CDockState state;
    EXPECT_FALSE(state.LoadState(L"Layout"));
    frame->LoadBarState(L"Layout");
    EXPECT_TRUE(frame->status.IsVisible());

    app.WriteProfileString(L"Layout-Summary", L"Bars", L"2147483647");
    app.WriteProfileString(L"Layout-Bar0", L"BarID", L"abc");
    app.WriteProfileString(L"Layout-Bar0", L"Visible", L"0");
    app.WriteProfileString(L"Layout-Bar1", L"BarID", L"-59393");
    app.WriteProfileString(L"Layout-Bar1", L"Visible", L"0");
    app.WriteProfileString(L"Layout-Bar2", L"BarID", L"12345");   // no such bar
    app.WriteProfileString(L"Layout-Bar2", L"Visible", L"0");
    ASSERT_TRUE(state.LoadState(L"Layout"));
    EXPECT_EQ(state.m_bars.size(), 1u);
    frame->LoadBarState(L"Layout");
    for (CControlBar* bar : frame->GetControlBars()) EXPECT_TRUE(bar->IsVisible());
}

TEST(BinaryProfile, BytesSurviveAndDamagedEntriesReadAsNothing) {
    TempDir dir;
    CWinApp app;
    app.SetProfileFile(dir.file(L"toolbar.ini"));
    std::vector<BYTE> all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<size_t>(i)] = static_cast<BYTE>(i);
    ASSERT_TRUE(app.WriteProfileBinary(L"Rebar", L"BandInfo_00", all.data(), static_cast<UINT>(all.size())));
    std::vector<BYTE> read;
    ASSERT_TRUE(app.GetProfileBinary(L"Rebar", L"BandInfo_00", read));
    EXPECT_EQ(read, all);
    EXPECT_EQ(app.GetProfileString(L"Rebar", L"BandInfo_00").substr(0, 8), L"00010203");

    BYTE* data = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(app.GetProfileBinary(L"Rebar", L"BandInfo_00", &data, &bytes));
    EXPECT_EQ(bytes, 256u);
    EXPECT_EQ(data[255], 255);
    delete[] data;

    const wchar_t* damaged[] = {L"ABC", L"0G", L"zz", L"12 34"};
    for (const wchar_t* text : damaged) {
        app.WriteProfileString(L"Rebar", L"Bad", text);
        EXPECT_FALSE(app.GetProfileBinary(L"Rebar", L"Bad", read)) << text;
        EXPECT_TRUE(read.empty());
    }
    data = reinterpret_cast<BYTE*>(&bytes);
    EXPECT_FALSE(app.GetProfileBinary(L"Rebar", L"Missing", &data, &bytes));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(bytes, 0u);
    // Lower-case digits, as a hand edit might leave them, still read.
    app.WriteProfileString(L"Rebar", L"Lower", L"ff0a");
    ASSERT_TRUE(app.GetProfileBinary(L"Rebar", L"Lower", read));
    EXPECT_EQ(read, (std::vector<BYTE>{0xFF, 0x0A}));
}

}  // namespace
