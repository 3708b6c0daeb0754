// The text input dialog driven through the dialog runner: OK follows the validator, and the
// text is what was typed.

#include "framework/Dialog.h"
#include "resources/resource.h"
#include "ui/dialogs/DlgInput.h"
#include <gtest/gtest.h>
#include <functional>

namespace {

struct RunnerScope {
    explicit RunnerScope(IDialogRunner* runner) : previous(AfxSetDialogRunner(runner)) {}
    ~RunnerScope() { AfxSetDialogRunner(previous); }
    IDialogRunner* previous;
};

HWND Item(CDialog& d, int id) { return GetDlgItem(d.m_hWnd, id); }
bool OkEnabled(CDialog& d) { return IsWindowEnabled(Item(d, IDOK)) != FALSE; }
std::wstring Text(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

// Refuses empty names and names already taken (the context is the taken name).
bool NotEmptyNorTaken(const std::wstring& text, void* context) {
    return !text.empty() && text != *static_cast<const std::wstring*>(context);
}

}  // namespace

TEST(DlgInput, OkFollowsTheValidatorFromTheStart) {
    std::wstring taken = L"ロック";
    struct Seen { std::wstring caption, prompt; bool okAtStart = true, okTyped = false, okTaken = true; } seen;
    CScriptedDialogRunner runner([&](CDialog& d) {
        seen.caption = Text(d.m_hWnd);
        seen.prompt = Text(Item(d, IDC_INPUT_PROMPT));
        seen.okAtStart = OkEnabled(d);
        SetWindowTextW(Item(d, IDC_INPUT_EDIT), L"ジ");
        seen.okTyped = OkEnabled(d);
        SetWindowTextW(Item(d, IDC_INPUT_EDIT), L"ロック");
        seen.okTaken = OkEnabled(d);
        SetWindowTextW(Item(d, IDC_INPUT_EDIT), L"ジャズ");
        SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&runner);
    CDlgInput dialog;
    dialog.SetInputParams(L"新しいフォルダ", nullptr, &NotEmptyNorTaken, &taken);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(seen.caption, L"新しいフォルダ");
    EXPECT_EQ(seen.prompt, L"名前(&N)");
    EXPECT_FALSE(seen.okAtStart) << "an empty default is refused at once";
    EXPECT_TRUE(seen.okTyped);
    EXPECT_FALSE(seen.okTaken);
    EXPECT_EQ(dialog.GetText(), L"ジャズ");
}

TEST(DlgInput, DefaultTextIsShownAndJudgedAndWithoutValidatorEmptyIsAccepted) {
    std::wstring taken = L"既定";
    bool okAtStart = true;
    std::wstring shown;
    CScriptedDialogRunner judged([&](CDialog& d) {
        shown = Text(Item(d, IDC_INPUT_EDIT));
        okAtStart = OkEnabled(d);
        SendMessageW(Item(d, IDCANCEL), BM_CLICK, 0, 0);
    });
    {
        RunnerScope scope(&judged);
        CDlgInput dialog;
        dialog.SetInputParams(L"名前の変更", L"既定", &NotEmptyNorTaken, &taken);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(shown, L"既定");
        EXPECT_FALSE(okAtStart) << "the default is judged like typed text";
    }

    bool okEmpty = false;
    CScriptedDialogRunner plain([&](CDialog& d) {
        SetWindowTextW(Item(d, IDC_INPUT_EDIT), L"");
        okEmpty = OkEnabled(d);
        SendMessageW(Item(d, IDOK), BM_CLICK, 0, 0);
    });
    RunnerScope scope(&plain);
    CDlgInput dialog;
    dialog.SetInputParams(L"プリセット", L"EQ 1", nullptr, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(okEmpty);
    EXPECT_EQ(dialog.GetText(), L"");

    // Cancel leaves the last edited text in place.
    CScriptedDialogRunner cancelled([](CDialog& d) {
        SetWindowTextW(Item(d, IDC_INPUT_EDIT), L"途中");
        SendMessageW(Item(d, IDCANCEL), BM_CLICK, 0, 0);
    });
    RunnerScope again(&cancelled);
    CDlgInput other;
    other.SetInputParams(L"プリセット", L"EQ 1", nullptr, nullptr);
    EXPECT_EQ(other.DoModal(), IDCANCEL);
    EXPECT_EQ(other.GetText(), L"途中");
}
