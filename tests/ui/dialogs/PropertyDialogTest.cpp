// The property dialog driven through its controls: both modes, drawing, keys, maintenance.
#include "DialogTestSupport.h"
#include "DocTestSupport.h"
#include "resources/resource.h"
#include "ui/dialogs/DlgProperty.h"
#include "ui/dialogs/LibraryDialogs.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <algorithm>

using doc_test::Library;
using doc_test::MakeTrack;
using lib_test::Click;
using lib_test::MessageRecorder;
using lib_test::ScriptedDialogs;

namespace {

bool HasVisibleStyle(CDialog& d, int id) { return (::GetWindowLongW(::GetDlgItem(d, id), GWL_STYLE) & WS_VISIBLE) != 0; }

HWND List(CDialog& d) { return ::GetDlgItem(d, IDC_PROPERTY_LIST); }

int64_t RowidOf(Library& lib, const std::wstring& path) {
    return lib.Scalar(L"SELECT rowid FROM list WHERE file_name='" + path + L"';");
}

class PropertyDialog : public ::testing::Test {
protected:
    PropertyDialog() {
        lib.settings.groupView.fontName = L"Tahoma";
        lib.settings.groupView.fontSize = 9;
        lib.settings.groupView.colorBackground = RGB(255, 255, 255);
        lib.settings.groupView.colorText = RGB(0, 0, 0);
    }
    Library lib;
    MessageRecorder messages;
};

}  // namespace

TEST_F(PropertyDialog, DatabaseModeShowsItsCaptionButtonsAndRows) {
    ASSERT_TRUE(lib.Insert(MakeTrack(L"C:\\a.mp3", L"a")));
    std::wstring caption;
    int count = 0;
    size_t rows = 0;
    bool buttons = false;
    ScriptedDialogs dialogs([&](CDialog& d) {
        auto& dlg = static_cast<CDlgProperty&>(d);
        caption = d.GetWindowText();
        count = ListView_GetItemCount(List(d));
        rows = dlg.GetRows().size();
        buttons = HasVisibleStyle(d, ID_LIBRARY_INITIALIZE) && HasVisibleStyle(d, ID_LIBRARY_OPTIMIZE) &&
                  HasVisibleStyle(d, ID_LIBRARY_DELETE_MISSING);
        Click(d, IDOK);
    });
    EXPECT_FALSE(RunDatabaseProperties(lib.doc));
    EXPECT_EQ(1, dialogs.runner.m_runs);
    EXPECT_EQ(L"プロパティ -データベース-", caption);
    EXPECT_TRUE(buttons);
    EXPECT_GT(rows, 40u);
    EXPECT_EQ(static_cast<int>(rows), count);
}

TEST_F(PropertyDialog, ItemModeNeverShowsTheMaintenanceButtonsAndDrawsRatingStars) {
    TrackRecord t = MakeTrack(L"C:\\a.mp3", L"a");
    t.rating = 30;
    ASSERT_TRUE(lib.Insert(t));
    std::wstring caption;
    bool buttons = true;
    int starsFull = 0, starsSame = 0, starsDiffer = 0;
    ScriptedDialogs dialogs([&](CDialog& d) {
        auto& dlg = static_cast<CDlgProperty&>(d);
        caption = d.GetWindowText();
        ::SetWindowPos(d, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
        buttons = HasVisibleStyle(d, ID_LIBRARY_INITIALIZE) || HasVisibleStyle(d, ID_LIBRARY_DELETE_MISSING);

        // Draw the rating row into a bitmap as the list would ask for it.
        int index = -1;
        for (size_t i = 0; i < dlg.GetRows().size(); ++i)
            if (dlg.GetRows()[i].kind == RowRating) index = static_cast<int>(i);
        ASSERT_GE(index, 0);
        RECT bounds{};
        ListView_GetItemRect(List(d), index, &bounds, LVIR_BOUNDS);
        RECT value{};
        ListView_GetSubItemRect(List(d), index, 1, LVIR_BOUNDS, &value);
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, bounds.right + 10, bounds.bottom + 10);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTVIEW;
        item.CtlID = IDC_PROPERTY_LIST;
        item.itemID = static_cast<UINT>(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = List(d);
        item.hDC = dc;
        item.rcItem = bounds;
        d.SendMessage(WM_DRAWITEM, IDC_PROPERTY_LIST, reinterpret_cast<LPARAM>(&item));
        // Each star's column of pixels through its middle.
        const int w = lib.settings.generic.ratingImageWidth;
        const int y = (bounds.top + bounds.bottom) / 2;
        auto star = [&](int k) {
            std::vector<COLORREF> pixels;
            for (int x = 0; x < w; ++x) pixels.push_back(::GetPixel(dc, value.left + 2 + (k - 1) * w + x, y));
            return pixels;
        };
        starsFull = star(1) != std::vector<COLORREF>(w, RGB(255, 255, 255));
        starsSame = star(1) == star(3) && star(4) == star(5);
        starsDiffer = star(3) != star(4);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    });
    RunTrackProperties(lib.doc, RowidOf(lib, t.file_name));
    EXPECT_EQ(L"プロパティ", caption);
    EXPECT_FALSE(buttons);
    EXPECT_TRUE(starsFull);
    EXPECT_TRUE(starsSame);
    EXPECT_TRUE(starsDiffer);
}

TEST_F(PropertyDialog, DeletedRowShowsTheDatabaseErrorAndAnEmptyList) {
    int count = -1;
    ScriptedDialogs dialogs([&](CDialog& d) { count = ListView_GetItemCount(List(d)); });
    RunTrackProperties(lib.doc, 12345);
    EXPECT_EQ(0, count);
    EXPECT_EQ(1u, lib.errors.messages.size());
}

TEST_F(PropertyDialog, DividerDoubleClickFitsTheColumnAndKeysJumpWithinThePage) {
    int fitted = 0, selectedDown = -1, selectedUp = -1, expectedDown = -2;
    ScriptedDialogs dialogs([&](CDialog& d) {
        HWND list = List(d);
        NMHEADERW header{};
        header.hdr.hwndFrom = ListView_GetHeader(list);
        header.hdr.idFrom = 0;
        header.hdr.code = HDN_DIVIDERDBLCLICKW;
        header.iItem = 0;
        ListView_SetColumnWidth(list, 0, 5);
        d.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        fitted = ListView_GetColumnWidth(list, 0);

        NMLVKEYDOWN key{};
        key.hdr.hwndFrom = list;
        key.hdr.idFrom = IDC_PROPERTY_LIST;
        key.hdr.code = LVN_KEYDOWN;
        key.wVKey = VK_DOWN;
        d.SendMessage(WM_NOTIFY, IDC_PROPERTY_LIST, reinterpret_cast<LPARAM>(&key));
        selectedDown = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        expectedDown = std::min(ListView_GetTopIndex(list) + ListView_GetCountPerPage(list) - 1,
                                ListView_GetItemCount(list) - 1);
        key.wVKey = VK_UP;
        d.SendMessage(WM_NOTIFY, IDC_PROPERTY_LIST, reinterpret_cast<LPARAM>(&key));
        selectedUp = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    });
    RunDatabaseProperties(lib.doc);
    EXPECT_GT(fitted, 33 + 20);
    EXPECT_EQ(expectedDown, selectedDown);
    EXPECT_EQ(0, selectedUp);
}

TEST_F(PropertyDialog, MaintenanceCommandsAskFirstAndReportWhatTheyDid) {
    const std::wstring present = lib.dir.file(L"present.mp3");
    ASSERT_TRUE(testing_support::WriteBytes(present, "x", 1));
    ASSERT_TRUE(lib.Insert(MakeTrack(present, L"p")));
    ASSERT_TRUE(lib.Insert(MakeTrack(lib.dir.file(L"gone.mp3"), L"g")));

    // Cancel on both questions, then optimise: nothing changes.
    messages.answers = {IDCANCEL, IDCANCEL};
    ScriptedDialogs cancelled([&](CDialog& d) {
        Click(d, ID_LIBRARY_DELETE_MISSING);
        Click(d, ID_LIBRARY_INITIALIZE);
        Click(d, ID_LIBRARY_OPTIMIZE);
        Click(d, IDOK);
    });
    EXPECT_FALSE(RunDatabaseProperties(lib.doc));
    EXPECT_EQ(2, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
    ASSERT_EQ(2u, messages.texts.size());
    EXPECT_EQ(UINT(MB_DEFBUTTON2), messages.types[0] & MB_DEFMASK);

    // Delete the missing file, then find every file present.
    messages.texts.clear();
    std::wstring filesRow;
    ScriptedDialogs deleting([&](CDialog& d) {
        Click(d, ID_LIBRARY_DELETE_MISSING);
        Click(d, ID_LIBRARY_DELETE_MISSING);
        filesRow = lib_test::ValueOf(static_cast<CDlgProperty&>(d).GetRows(), L"項目数", L"ファイル");
    });
    EXPECT_TRUE(RunDatabaseProperties(lib.doc));
    EXPECT_EQ(L"1", filesRow);   // the list was refilled
    ASSERT_EQ(4u, messages.texts.size());
    EXPECT_EQ(L"1 項目削除しました。", messages.texts[1]);
    EXPECT_EQ(L"ライブラリ内のファイルは全て存在します", messages.texts[3]);

    // Initialise.
    ScriptedDialogs initialising([&](CDialog& d) { Click(d, ID_LIBRARY_INITIALIZE); });
    EXPECT_TRUE(RunDatabaseProperties(lib.doc));
    EXPECT_EQ(0, lib.Scalar(L"SELECT COUNT(*) FROM list;"));
}
