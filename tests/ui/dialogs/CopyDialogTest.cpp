// The copy dialog driven through its controls, with the shell's copy and folder chooser.
#include "DialogTestSupport.h"
#include "DocTestSupport.h"
#include "resources/resource.h"
#include "ui/dialogs/DlgCopy.h"
#include <gtest/gtest.h>
#include <shlobj.h>

using lib_test::Click;
using lib_test::IsEnabled;
using lib_test::MessageRecorder;
using lib_test::ScriptedDialogs;
using testing_support::FileExists;
using testing_support::TempDir;

namespace {

TrackRecord Track(const std::wstring& path, const std::wstring& artist, const std::wstring& album, long long size) {
    TrackRecord t = doc_test::MakeTrack(path, L"title", artist, album);
    t.file_size = size;
    return t;
}

class CopyDialog : public ::testing::Test {
protected:
    CopyDialog() : settings(doc_test::MakeSettings(profile.path())) {
        settings.copy.copyLatestDir = destination.path();
        settings.copy.fileName = L"%tagArtist%\\%tagAlbum%\\%file_title%%file_ext%";
    }
    TempDir profile, sources, destination;
    CAppSettings settings;
    MessageRecorder messages;
};

}  // namespace

TEST_F(CopyDialog, CopiesIntoAFolderTreeFromTheTemplateAndKeepsTheTexts) {
    const std::wstring a = sources.file(L"a.mp3"), b = sources.file(L"b.mp3");
    ASSERT_TRUE(testing_support::WriteBytes(a, std::string("aaaa")));
    ASSERT_TRUE(testing_support::WriteBytes(b, std::string("bb")));
    // Trailing dots are dropped: Wine's shell would refuse the whole copy for them.
    TrackRecord ta = Track(a, L"AC/DC", L"Live?...", 4), tb = Track(b, L"..", L"..", 2);
    bool enabled = false;
    std::wstring barText;
    ScriptedDialogs dialogs([&](CDialog& d) {
        auto& dlg = static_cast<CDlgCopy&>(d);
        enabled = IsEnabled(d, IDOK);
        DRAWITEMSTRUCT item{};
        HDC dc = ::CreateCompatibleDC(nullptr);
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_COPY_DRIVE_BAR;
        item.hwndItem = ::GetDlgItem(d, IDC_COPY_DRIVE_BAR);
        item.hDC = dc;
        item.rcItem = {0, 0, 100, 10};
        d.SendMessage(WM_DRAWITEM, IDC_COPY_DRIVE_BAR, reinterpret_cast<LPARAM>(&item));
        ::DeleteDC(dc);
        barText = d.GetDlgItemText(IDC_COPY_DRIVE_TEXT);
        EXPECT_EQ(6, dlg.m_totalSize);
        Click(d, IDOK);
        d.SetDlgItemText(IDC_COPY_TEMPLATE, L"%file_title%");
        Click(d, IDCANCEL);
    });
    CDlgCopy dialog(settings);
    dialog.AddTrack(&ta);
    dialog.AddTrack(&tb);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(enabled);
    EXPECT_NE(std::wstring::npos, barText.find(L"(2 ファイル)")) << barText;
    EXPECT_TRUE(FileExists(destination.file(L"AC／DC\\Live？\\a.mp3")));
    EXPECT_TRUE(FileExists(destination.file(L"_\\_\\b.mp3")));
    EXPECT_EQ("aaaa", testing_support::ReadBytes(destination.file(L"AC／DC\\Live？\\a.mp3")));
    // "閉じる" stores both texts.
    EXPECT_EQ(L"%file_title%", settings.copy.fileName);
    EXPECT_EQ(destination.path(), settings.copy.copyLatestDir);
}

TEST_F(CopyDialog, FieldsWithNulDotsAndDeviceNamesCopyInsideTheDestination) {
    const std::wstring a = sources.file(L"a.mp3"), b = sources.file(L"b.mp3");
    ASSERT_TRUE(testing_support::WriteBytes(a, std::string("aaaa")));
    ASSERT_TRUE(testing_support::WriteBytes(b, std::string("bb")));
    settings.copy.fileName = L"%tagArtist%\\%tagAlbum%\\%tagTitle%%file_ext%";
    // A NUL in the title would end this target early and shift the second file onto the
    // rest of it, a path from the root of the drive.
    TrackRecord hostile = Track(a, L"CON", L"..", 4);
    hostile.tagTitle = std::wstring(L"\0\\..\\escaped", 12);
    TrackRecord plain = Track(b, L"B", L"nul.x", 2);
    plain.tagTitle = L"b";
    ScriptedDialogs dialogs([&](CDialog& d) { Click(d, IDOK); });
    CDlgCopy dialog(settings);
    dialog.AddTrack(&hostile);
    dialog.AddTrack(&plain);
    dialog.DoModal();
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ("aaaa", testing_support::ReadBytes(destination.file(L"CON_\\_\\_\\_\\escaped.mp3")));
    EXPECT_EQ("bb", testing_support::ReadBytes(destination.file(L"B\\nul_.x\\b.mp3")));
    EXPECT_FALSE(FileExists(L"\\..\\escaped.mp3"));
    EXPECT_FALSE(FileExists(L"\\escaped.mp3"));

    // With a 300-character title the target is too long: refused, nothing copied.
    TrackRecord longName = Track(a, L"CON", L"..", 4);
    longName.tagTitle = std::wstring(L"\0", 1) + std::wstring(300, L'x');
    ScriptedDialogs again([&](CDialog& d) { Click(d, IDOK); });
    CDlgCopy refused(settings);
    refused.AddTrack(&longName);
    refused.DoModal();
    ASSERT_EQ(1u, messages.texts.size());
    EXPECT_NE(std::wstring::npos, messages.texts[0].find(L"長すぎる"));

    // A file whose own name holds a NUL is left out; with nothing left, OK says so.
    TrackRecord nulFile = Track(std::wstring(L"C:\\a.mp3\0..\\b.mp3", 17), L"A", L"B", 4);
    ScriptedDialogs third([&](CDialog& d) { Click(d, IDOK); });
    CDlgCopy nothing(settings);
    nothing.AddTrack(&nulFile);
    nothing.DoModal();
    ASSERT_EQ(2u, messages.texts.size());
    EXPECT_NE(std::wstring::npos, messages.texts[1].find(L"コピーできるファイルがありません")) << messages.texts[1];
}

TEST_F(CopyDialog, CopyIsOfferedOnlyForAUsableFolderAndAFileName) {
    const std::wstring file = sources.file(L"a.mp3");
    ASSERT_TRUE(testing_support::WriteBytes(file, std::string("a")));
    std::vector<bool> states;
    std::wstring naText;
    ScriptedDialogs dialogs([&](CDialog& d) {
        states.push_back(IsEnabled(d, IDOK));
        d.SetDlgItemText(IDC_COPY_TEMPLATE, L"");
        states.push_back(IsEnabled(d, IDOK));
        d.SetDlgItemText(IDC_COPY_TEMPLATE, L"%file_title%");
        d.SetDlgItemText(IDC_COPY_DESTINATION, file);   // a file, not a folder
        states.push_back(IsEnabled(d, IDOK));
        d.SetDlgItemText(IDC_COPY_DESTINATION, destination.file(L"missing"));
        states.push_back(IsEnabled(d, IDOK));
        d.SetDlgItemText(IDC_COPY_DESTINATION, L"");
        DRAWITEMSTRUCT item{};
        HDC dc = ::CreateCompatibleDC(nullptr);
        item.CtlType = ODT_BUTTON;
        item.hwndItem = ::GetDlgItem(d, IDC_COPY_DRIVE_BAR);
        item.hDC = dc;
        item.rcItem = {0, 0, 100, 10};
        d.SendMessage(WM_DRAWITEM, IDC_COPY_DRIVE_BAR, reinterpret_cast<LPARAM>(&item));
        ::DeleteDC(dc);
        naText = d.GetDlgItemText(IDC_COPY_DRIVE_TEXT);
        states.push_back(IsEnabled(d, IDOK));
    });
    CDlgCopy dialog(settings);
    TrackRecord t = Track(file, L"a", L"b", 1);
    dialog.AddTrack(&t);
    dialog.DoModal();
    EXPECT_EQ((std::vector<bool>{true, false, false, false, false}), states);
    EXPECT_EQ(L"N/A", naText);
}

TEST_F(CopyDialog, TooLongTargetIsRefusedWithAMessageAndNothingIsCopied) {
    int operations = 0;
    CDlgCopy::FileOperation previous = CDlgCopy::SetFileOperation([&](SHFILEOPSTRUCTW&) { return ++operations, 0; });
    TrackRecord t = Track(sources.file(L"a.mp3"), std::wstring(300, L'x'), L"b", 1);
    ScriptedDialogs dialogs([&](CDialog& d) { Click(d, IDOK); });
    CDlgCopy dialog(settings);
    dialog.AddTrack(&t);
    dialog.DoModal();
    CDlgCopy::SetFileOperation(std::move(previous));
    EXPECT_EQ(0, operations);
    ASSERT_EQ(1u, messages.texts.size());
    EXPECT_NE(std::wstring::npos, messages.texts[0].find(L"長すぎる"));
}

TEST_F(CopyDialog, FolderChooserStartsOnTheStoredFolderAndFillsTheDestination) {
    TempDir chosen;
    std::vector<std::wstring> titles;
    CBrowseForFolder::DialogRunner previous = CBrowseForFolder::SetDialogRunner([&](BROWSEINFOW& bi) {
        titles.push_back(bi.lpszTitle);
        PIDLIST_ABSOLUTE item = nullptr;
        SFGAOF attributes = 0;
        ::SHParseDisplayName(chosen.path().c_str(), nullptr, &item, 0, &attributes);
        return item;
    });
    std::wstring text;
    ScriptedDialogs dialogs([&](CDialog& d) {
        Click(d, IDC_COPY_BROWSE);
        text = d.GetDlgItemText(IDC_COPY_DESTINATION);
    });
    CDlgCopy dialog(settings);
    dialog.DoModal();
    CBrowseForFolder::SetDialogRunner(std::move(previous));
    ASSERT_EQ(1u, titles.size());
    EXPECT_EQ(L"コピー先ディレクトリ", titles[0]);
    std::wstring expected = chosen.path();
    if (!expected.empty() && expected.back() == L'\\') expected.pop_back();
    EXPECT_EQ(expected, text);
    EXPECT_EQ(expected, settings.copy.copyLatestDir);
}
