// The plain file dialogs behind the document: a choice is parsed, a cancel is silent, and a
#include "support/MessageBoxRecorder.h"
// selection that does not fit or a failing dialog is reported, never taken for a cancel.

#include "document/IDocumentHost.h"
#include "framework/MessageBox.h"
#include <gtest/gtest.h>
#include <cderr.h>
#include <cstring>

namespace {

using Boxes = testing_support::MessageBoxRecorder;

// Writes a dialog's answer, with its embedded zeros, into the dialog's buffer.
void Answer(OPENFILENAMEW& ofn, const std::wstring& names) {
    ASSERT_LE(names.size() + 1, ofn.nMaxFile);
    std::memcpy(ofn.lpstrFile, names.c_str(), (names.size() + 1) * sizeof(wchar_t));
}

}  // namespace

TEST(DocumentHostDefault, FileDialogAnswersAreParsedAndFailuresReported) {
    Boxes boxes;
    CDocumentHostDefault host;
    FileDialogRequest request;
    request.multiSelect = true;
    request.nameBufferChars = 64;
    FileDialogResult result;

    // Several files: the folder, then each name.
    host.runFileDialog = [](OPENFILENAMEW& ofn, bool save) -> DWORD {
        EXPECT_FALSE(save);
        EXPECT_EQ(ofn.nMaxFile, 64u);
        EXPECT_TRUE(ofn.Flags & OFN_ALLOWMULTISELECT);
        Answer(ofn, std::wstring(L"C:\\音楽\0a.mp3\0b.flac\0", 21));
        return 0;
    };
    ASSERT_TRUE(host.ShowFileDialog(request, result));
    EXPECT_EQ(result.pathName, L"C:\\音楽");
    EXPECT_EQ(result.files, (std::vector<std::wstring>{L"C:\\音楽\\a.mp3", L"C:\\音楽\\b.flac"}));

    // One file.
    host.runFileDialog = [](OPENFILENAMEW& ofn, bool) -> DWORD {
        Answer(ofn, L"C:\\音楽\\a.mp3");
        return 0;
    };
    ASSERT_TRUE(host.ShowFileDialog(request, result));
    EXPECT_EQ(result.files, std::vector<std::wstring>{L"C:\\音楽\\a.mp3"});

    // A cancel says nothing.
    host.runFileDialog = [](OPENFILENAMEW&, bool) -> DWORD { return CDocumentHostDefault::kFileDialogCancelled; };
    EXPECT_FALSE(host.ShowFileDialog(request, result));
    EXPECT_TRUE(boxes.texts.empty());

    // More names than the buffer holds, and a dialog that fails, are told to the user.
    for (DWORD error : {static_cast<DWORD>(FNERR_BUFFERTOOSMALL), static_cast<DWORD>(CDERR_INITIALIZATION)}) {
        host.runFileDialog = [error](OPENFILENAMEW&, bool) -> DWORD { return error; };
        EXPECT_FALSE(host.ShowFileDialog(request, result));
    }
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_NE(boxes.texts[0].find(L"選択されたファイルが多すぎます。"), std::wstring::npos);
    EXPECT_NE(boxes.texts[1].find(L"ファイルを選択できませんでした。"), std::wstring::npos);
    EXPECT_EQ(boxes.types[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
}
