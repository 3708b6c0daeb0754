// The query-folder tree over a fresh profile: the default queries, running a query, the
// context menu's folder and query commands, and a play-list cell dropped on a folder.

#include "app/ViewHints.h"
#include "document/DocTestSupport.h"
#include "document/QueryFile.h"
#include "framework/Dialog.h"
#include "framework/DocTemplate.h"
#include "framework/FrameIds.h"
#include "framework/PopupMenu.h"
#include "resources/resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/TestDataObject.h"
#include "support/TestFiles.h"
#include "ui/views/DdData.h"
#include "ui/views/LeftView.h"
#include "ui/views/QueryFolder.h"
#include <gtest/gtest.h>
#include <deque>
#include <memory>

using testing_support::FileExists;
using testing_support::TempDir;

namespace {

std::vector<std::wstring> Names(const std::vector<QueryFolderItem>& items) {
    std::vector<std::wstring> names;
    for (const auto& i : items) names.push_back(i.name);
    return names;
}

bool Touch(const std::wstring& path) { return testing_support::WriteBytes(path, "[Query]\r\nSQL=SELECT 1;\r\n"); }

class ScriptedPopups : public IPopupMenuPresenter {
public:
    ScriptedPopups() { m_previous = AfxSetPopupMenuPresenter(this); }
    ~ScriptedPopups() override { AfxSetPopupMenuPresenter(m_previous); }
    BOOL Track(HMENU menu, UINT, int, int, HWND, const TPMPARAMS*) override {
        enabled.clear();
        const int count = ::GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            const UINT id = ::GetMenuItemID(menu, i);
            if (id != 0 && id != 0xFFFFFFFFu && !(::GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED))
                enabled.push_back(id);
        }
        ++shown;
        if (answers.empty()) return 0;
        const UINT a = answers.front();
        answers.pop_front();
        return static_cast<BOOL>(a);
    }
    std::deque<UINT> answers;
    std::vector<UINT> enabled;
    int shown = 0;

private:
    IPopupMenuPresenter* m_previous = nullptr;
};

struct RunnerScope {
    explicit RunnerScope(IDialogRunner* runner) : previous(AfxSetDialogRunner(runner)) {}
    ~RunnerScope() { AfxSetDialogRunner(previous); }
    IDialogRunner* previous;
};

std::wstring ItemText(CDialog& d, int id) {
    wchar_t text[512] = L"";
    ::GetDlgItemTextW(d.m_hWnd, id, text, 512);
    return text;
}

class QueryTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::InstallOleEnvironment();
        ASSERT_TRUE(lib.opened);
        lib.settings.queryView.fontName = L"Tahoma";
        lib.settings.queryView.fontSize = 9;
        host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 250, 400, nullptr, 0);
        CCreateContext context;
        context.document = &lib.doc;
        tree = new CLeftView;   // deletes itself with its window
        ASSERT_TRUE(tree->Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 250, 400}, host.m_hWnd, AFX_IDW_PANE_FIRST, &context));
        tree->OnInitialUpdate();
        folder = lib.settings.userFolder + L"query\\";
    }
    void TearDown() override { host.DestroyWindow(); }

    std::vector<std::wstring> Children(HTREEITEM parent) {
        std::vector<std::wstring> names;
        CTreeCtrl& t = tree->GetTreeCtrl();
        for (HTREEITEM i = t.GetChildItem(parent); i; i = t.GetNextSiblingItem(i)) names.push_back(t.GetItemText(i));
        return names;
    }

    doc_test::Library lib;
    CWnd host;
    CLeftView* tree = nullptr;
    std::wstring folder;
};

}  // namespace

TEST(QueryFolder, DefaultQueriesAreWrittenOnceAndFoldersListFirstWithoutFollowingLinks) {
    TempDir dir;
    const std::wstring q = dir.path() + L"query";
    ASSERT_TRUE(CreateDefaultQueryFolder(q));
    EXPECT_EQ(6u, ListQueryFolder(q).size());
    CQueryFile random;
    ASSERT_TRUE(random.Load(q + L"\\ランダム20曲.q"));
    EXPECT_EQ(L"SELECT * FROM list order by random() limit 20;", random.sql);
    EXPECT_EQ(-1, random.sortColumn);
    EXPECT_FALSE(random.ascending);
    ASSERT_TRUE(DeleteFileW((q + L"\\評価3つ星以上.q").c_str()));
    EXPECT_FALSE(CreateDefaultQueryFolder(q)) << "an existing folder is left as it is";
    EXPECT_EQ(5u, ListQueryFolder(q).size());

    TempDir mixed;
    ASSERT_TRUE(CreateDirectoryW(mixed.file(L"zeta").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(mixed.file(L"Alpha").c_str(), nullptr));
    ASSERT_TRUE(Touch(mixed.file(L"beta.Q")));
    ASSERT_TRUE(Touch(mixed.file(L"ALBUMS.M3U")));
    ASSERT_TRUE(Touch(mixed.file(L"notes.txt")));
    ASSERT_TRUE(Touch(mixed.file(L"Gamma.q")));
    // A link back to the folder itself would make an endless walk.
    ASSERT_TRUE(CreateSymbolicLinkW(mixed.file(L"loop").c_str(), mixed.path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    ASSERT_TRUE(GetFileAttributesW(mixed.file(L"loop").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    const auto items = ListQueryFolder(mixed.path());
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"zeta", L"ALBUMS", L"beta", L"Gamma"}), Names(items));
    EXPECT_EQ(QueryItemFolder, items[0].kind);
    EXPECT_EQ(QueryItemPlaylist, items[2].kind);
    EXPECT_EQ(2, items[2].image);
    EXPECT_EQ(QueryItemQuery, items[3].kind);
    EXPECT_EQ(mixed.file(L"beta.Q"), items[3].path);
    RemoveDirectoryW(mixed.file(L"loop").c_str());
}

TEST(QueryFolder, CellQueriesQuoteTextAndUseNumbersForRatingsCodecsAndCounts) {
    TrackRecord t;
    t.tagArtist = L"O'Brien";
    t.rating = 30;
    t.infoCodec = 3;
    t.playcount = 7;
    std::wstring title, sql;
    ASSERT_TRUE(BuildCellQuery(t, 2, title, sql));
    EXPECT_EQ(L"アーティスト - O'Brien", title);
    EXPECT_EQ(L"SELECT * FROM list WHERE tagArtist='O''Brien';", sql);
    ASSERT_TRUE(BuildCellQuery(t, 15, title, sql));
    EXPECT_EQ(L"SELECT * FROM list WHERE rating='30';", sql);
    EXPECT_EQ(L"評価 - 30", title);
    ASSERT_TRUE(BuildCellQuery(t, 10, title, sql));
    EXPECT_EQ(L"SELECT * FROM list WHERE infoCodec='3';", sql);
    EXPECT_NE(std::wstring::npos, title.find(L"MP3"));
    ASSERT_TRUE(BuildCellQuery(t, 17, title, sql));
    EXPECT_EQ(L"SELECT * FROM list WHERE playcount='7';", sql);
    for (int column : {7, 8, 9, 11, 16, 18, 99}) EXPECT_FALSE(BuildCellQuery(t, column, title, sql)) << column;
}

TEST_F(QueryTreeTest, FreshProfileGetsTheSixQueriesAndSelectingOneRunsIt) {
    EXPECT_EQ(lib.settings.userFolder + L"query", lib.settings.queryFolder);
    CTreeCtrl& t = tree->GetTreeCtrl();
    HTREEITEM root = tree->GetRootItem();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(L"クエリ", t.GetItemText(root));
    EXPECT_TRUE(t.GetItemState(root, TVIS_BOLD) & TVIS_BOLD);
    EXPECT_EQ(6u, Children(root).size());

    ASSERT_TRUE(lib.Insert(doc_test::MakeTrack(L"C:\\m\\a.mp3", L"a")));
    ASSERT_EQ(0, lib.db().exec(L"UPDATE list SET rating=40;"));
    lib.view.hints.clear();
    HTREEITEM best = tree->FindItem(folder + L"評価3つ星以上.q");
    ASSERT_NE(nullptr, best);
    t.SelectItem(best);
    EXPECT_EQ(1, lib.Scalar(L"SELECT count(*) FROM playlist;"));
    ASSERT_EQ(1u, lib.view.hints.size());
    EXPECT_EQ(HintPlaylistReady, lib.view.hints[0].code);
    ASSERT_FALSE(lib.host.titles.empty());
    EXPECT_EQ(L"評価3つ星以上", lib.host.titles.back());

    // A play-list file is listed but does nothing, and has no menu.
    ASSERT_TRUE(Touch(folder + L"mix.m3u"));
    tree->RebuildTree();
    HTREEITEM mix = tree->FindItem(folder + L"mix.m3u");
    ASSERT_NE(nullptr, mix);
    lib.view.hints.clear();
    t.SelectItem(mix);
    EXPECT_TRUE(lib.view.hints.empty());
    ScriptedPopups popups;
    EXPECT_EQ(0u, tree->ShowContextMenu(mix, POINT{5, 5}));
    EXPECT_EQ(0, popups.shown);
}

TEST_F(QueryTreeTest, FoldersAreCreatedRenamedAndDeletedAndStayOpenAcrossRebuilds) {
    ScriptedPopups popups;
    testing_support::MessageBoxRecorder boxes;
    std::deque<std::wstring> typed = {L"ジャズ", L"a:b", L"クラシック"};
    bool okForColon = true;
    std::vector<bool> okForDevices;
    CScriptedDialogRunner runner([&](CDialog& d) {
        ::SetDlgItemTextW(d.m_hWnd, IDC_INPUT_EDIT, typed.front().c_str());
        if (typed.front() == L"a:b") {
            okForColon = ::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDOK)) != FALSE;
            for (const wchar_t* device : {L"NUL", L"con.txt", L"Com1 ."}) {
                ::SetDlgItemTextW(d.m_hWnd, IDC_INPUT_EDIT, device);
                okForDevices.push_back(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDOK)) != FALSE);
            }
            typed.pop_front();
            return;
        }
        typed.pop_front();
        ::SendMessageW(::GetDlgItem(d.m_hWnd, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);

    popups.answers = {ID_QUERY_NEW_FOLDER};
    tree->ShowContextMenu(tree->GetRootItem(), POINT{5, 5});
    EXPECT_EQ((std::vector<UINT>{ID_QUERY_NEW, ID_QUERY_NEW_FOLDER, ID_QUERY_REFRESH}), popups.enabled);
    HTREEITEM jazz = tree->FindItem(folder + L"ジャズ");
    ASSERT_NE(nullptr, jazz);
    EXPECT_EQ(L"ジャズ", Children(tree->GetRootItem()).front()) << "folders come first";

    popups.answers = {ID_QUERY_NEW_FOLDER};
    tree->ShowContextMenu(jazz, POINT{5, 5});
    EXPECT_EQ((std::vector<UINT>{ID_QUERY_NEW, ID_QUERY_NEW_FOLDER, ID_QUERY_RENAME_FOLDER, ID_QUERY_REFRESH,
                                 ID_QUERY_DELETE}),
              popups.enabled);
    EXPECT_FALSE(okForColon);
    EXPECT_EQ((std::vector<bool>{false, false, false}), okForDevices) << "device names are no folder names";
    EXPECT_TRUE(Children(tree->FindItem(folder + L"ジャズ")).empty());

    ASSERT_TRUE(CreateDirectoryW((folder + L"ジャズ\\bop").c_str(), nullptr));
    tree->RebuildTree();
    jazz = tree->FindItem(folder + L"ジャズ");
    EXPECT_FALSE(tree->GetTreeCtrl().GetItemState(jazz, TVIS_EXPANDED) & TVIS_EXPANDED);
    tree->GetTreeCtrl().Expand(jazz, TVE_EXPAND);
    tree->RebuildTree();
    jazz = tree->FindItem(folder + L"ジャズ");
    EXPECT_TRUE(tree->GetTreeCtrl().GetItemState(jazz, TVIS_EXPANDED) & TVIS_EXPANDED);

    popups.answers = {ID_QUERY_RENAME_FOLDER};
    tree->ShowContextMenu(jazz, POINT{5, 5});
    EXPECT_EQ(nullptr, tree->FindItem(folder + L"ジャズ"));
    HTREEITEM classic = tree->FindItem(folder + L"クラシック");
    ASSERT_NE(nullptr, classic);
    EXPECT_NE(nullptr, tree->FindItem(folder + L"クラシック\\bop"));

    std::vector<std::wstring> deleted;
    CLeftView::DeleteOperation previous = CLeftView::SetDeleteOperation([&](const std::wstring& path) {
        deleted.push_back(path);
        return RemoveDirectoryW((path + L"\\bop").c_str()) && RemoveDirectoryW(path.c_str());
    });
    popups.answers = {ID_QUERY_DELETE};
    tree->ShowContextMenu(classic, POINT{5, 5});
    CLeftView::SetDeleteOperation(previous);
    EXPECT_EQ(std::vector<std::wstring>{folder + L"クラシック"}, deleted);
    EXPECT_EQ(nullptr, tree->FindItem(folder + L"クラシック"));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(QueryTreeTest, QueriesAreCreatedAndEditedFromTheMenuAndADroppedCellProposesOne) {
    ScriptedPopups popups;
    std::vector<std::pair<std::wstring, std::wstring>> proposed;
    std::deque<std::wstring> names = {L"新作", L"改名"};
    CScriptedDialogRunner runner([&](CDialog& d) {
        proposed.push_back({ItemText(d, IDC_QUERY_NAME), ItemText(d, IDC_QUERY_SQL)});
        if (names.empty()) return;
        ::SetDlgItemTextW(d.m_hWnd, IDC_QUERY_NAME, names.front().c_str());
        names.pop_front();
        ::SendMessageW(::GetDlgItem(d.m_hWnd, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);

    HTREEITEM query = tree->FindItem(folder + L"まだ聞いていない曲.q");
    ASSERT_NE(nullptr, query);
    popups.answers = {ID_QUERY_NEW};
    tree->ShowContextMenu(query, POINT{5, 5});
    EXPECT_EQ((std::vector<UINT>{ID_QUERY_NEW, ID_QUERY_EDIT, ID_QUERY_REFRESH, ID_QUERY_DELETE}), popups.enabled);
    HTREEITEM created = tree->FindItem(folder + L"新作.q");
    ASSERT_NE(nullptr, created) << "a new query beside the one clicked";
    popups.answers = {ID_QUERY_EDIT};
    tree->ShowContextMenu(created, POINT{5, 5});
    EXPECT_EQ(nullptr, tree->FindItem(folder + L"新作.q"));
    EXPECT_NE(nullptr, tree->FindItem(folder + L"改名.q"));

    // A rating cell of a three-star row dropped on the root.
    auto row = std::make_unique<TrackRecord>();
    row->rowid = (int64_t{1} << 33) + 5;
    row->rating = 30;
    lib.doc.GetPlaylistCache().rows.push_back(std::move(row));
    const CLIPFORMAT format = GetDdDataFormat();
    auto* data = new testing_support::TestDataObject;
    DdDataCell cell;
    cell.rowid = (int64_t{1} << 33) + 5;
    cell.columnType = 15;
    unsigned char packed[kDdDataBlockSize];
    PackDdDataBlock(cell, packed);
    const std::string block(reinterpret_cast<const char*>(packed), sizeof packed);
    data->SetBytes(format, block);
    COleDataObject object;
    object.Attach(data);
    RECT r;
    ASSERT_TRUE(tree->GetTreeCtrl().GetItemRect(tree->GetRootItem(), &r, TRUE));
    const POINT onRoot{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), tree->OnDragEnter(&object, 0, onRoot));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), tree->OnDragOver(&object, 0, onRoot));
    ASSERT_TRUE(tree->GetTreeCtrl().GetItemRect(tree->FindItem(folder + L"改名.q"), &r, TRUE));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), tree->OnDragOver(&object, 0, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    const size_t before = proposed.size();
    EXPECT_TRUE(tree->OnDrop(&object, DROPEFFECT_LINK, onRoot));
    ASSERT_EQ(before + 1, proposed.size());
    EXPECT_EQ(L"評価 - 30", proposed.back().first);
    EXPECT_EQ(L"SELECT * FROM list WHERE rating='30';", proposed.back().second);

    // A block shorter than its format is not read.
    auto* shortData = new testing_support::TestDataObject;
    shortData->SetBytes(format, block.substr(0, 12));
    COleDataObject shortObject;
    shortObject.Attach(shortData);
    EXPECT_FALSE(tree->OnDrop(&shortObject, DROPEFFECT_LINK, onRoot));
    EXPECT_EQ(before + 1, proposed.size());
}
