// The search edit: its hint, Enter reported to its owner, and text dropped on it.
#include "ui/controls/EditEx.h"
#include "support/TestDataObject.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using testing_support::TestDataObject;

namespace {

const bool kOle = (testing_support::InstallOleEnvironment(), true);

class CountingEdit : public CEditEx {
public:
    int hints = 0;
    void DrawHintOn(HDC dc, const RECT& client) { CEditEx::DrawHint(dc, client); }

protected:
    void DrawHint(HDC dc, const RECT& client) override {
        ++hints;
        CEditEx::DrawHint(dc, client);
    }
};

struct Notified {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Notified> g_notified;
UINT g_notifyMsg = ::RegisterWindowMessageW(L"__ComboEditRefrect__");

LRESULT CALLBACK OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == g_notifyMsg) {
        g_notified.push_back({msg, wp, lp});
        return 0;
    }
    return ::DefWindowProcW(h, msg, wp, lp);
}

// A hidden owner window with a single-line edit in it, subclassed by the search edit.
struct Fixture {
    HWND owner = nullptr;
    CountingEdit edit;
    Fixture() {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &OwnerProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"LarkEditOwner";
            return ::RegisterClassW(&wc) != 0;
        }();
        (void)registered;
        owner = ::CreateWindowExW(0, L"LarkEditOwner", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
        HWND h = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 200, 22,
                                   owner, reinterpret_cast<HMENU>(1001), ::GetModuleHandleW(nullptr), nullptr);
        EXPECT_TRUE(edit.SubclassWindow(h));
        edit.SetNotifyWnd(owner);
        edit.SetHintFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
        g_notified.clear();
    }
    ~Fixture() {
        edit.RevokeDropTarget();
        ::DestroyWindow(owner);
    }
    int Paint() {
        const int before = edit.hints;
        edit.SendMessage(WM_PAINT);
        return edit.hints - before;
    }
};

TestDataObject* Data(void (*fill)(TestDataObject&)) {
    auto* d = new TestDataObject;
    fill(*d);
    return d;
}

}  // namespace

TEST(EditEx, HintShowsOnlyWhileEmptyAndUnfocused) {
    Fixture f;
    EXPECT_TRUE(f.edit.ShowsHint());
    EXPECT_EQ(1, f.Paint());
    f.edit.SendMessage(WM_SETFOCUS);
    EXPECT_FALSE(f.edit.ShowsHint());
    EXPECT_EQ(0, f.Paint());   // the edit paints itself
    f.edit.SendMessage(WM_KILLFOCUS);
    EXPECT_TRUE(f.edit.ShowsHint());
    EXPECT_EQ(1, f.Paint());
    ::SetWindowTextW(f.edit.m_hWnd, L"a");
    EXPECT_FALSE(f.edit.ShowsHint());
    EXPECT_EQ(0, f.Paint());
    ::SetWindowTextW(f.edit.m_hWnd, L"");
    EXPECT_EQ(1, f.Paint());
}

TEST(EditEx, HintIsDrawnOverTheWindowColourWithMargins) {
    Fixture f;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 22);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    RECT all{0, 0, 200, 22};
    ::FillRect(dc, &all, black);
    f.edit.DrawHintOn(dc, all);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    int drawn = 0;
    for (int y = 0; y < 22; ++y) {
        EXPECT_EQ(window, ::GetPixel(dc, 0, y));   // left margin
        EXPECT_EQ(window, ::GetPixel(dc, 1, y));
        for (int x = 0; x < 200; ++x) drawn += ::GetPixel(dc, x, y) != window;
    }
    EXPECT_GT(drawn, 0);   // the hint text is there
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

TEST(EditEx, EnterIsReportedToTheOwnerOncePerKeyRelease) {
    Fixture f;
    const LPARAM keyUp = static_cast<LPARAM>(0xC01C0001);
    f.edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0x001C0001);
    EXPECT_TRUE(g_notified.empty());
    f.edit.SendMessage(WM_KEYUP, VK_RETURN, keyUp);
    ASSERT_EQ(1u, g_notified.size());
    EXPECT_EQ(13u, g_notified[0].wParam);
    EXPECT_EQ(keyUp, g_notified[0].lParam);
    EXPECT_EQ(f.edit.GetNotifyMessage(), g_notified[0].msg);
    f.edit.SendMessage(WM_KEYUP, 'A', keyUp);
    f.edit.SendMessage(WM_KEYUP, VK_RETURN, keyUp);
    EXPECT_EQ(2u, g_notified.size());

    f.edit.SetNotifyWnd(nullptr);   // nobody to tell: nothing happens
    f.edit.SendMessage(WM_KEYUP, VK_RETURN, keyUp);
    EXPECT_EQ(2u, g_notified.size());
}

TEST(EditEx, DroppedTextReplacesTheSearchTextAndFilesAreRefused) {
    Fixture f;
    ASSERT_TRUE(f.edit.RegisterDropTarget());
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(f.edit.m_hWnd, f.edit.GetDropTarget().GetInterface()));
    IDropTarget* ole = f.edit.GetDropTarget().GetInterface();
    POINT p{5, 5};
    ::ClientToScreen(f.edit.m_hWnd, &p);
    const POINTL at{p.x, p.y};

    std::string ansi(32, '\0');
    ansi.resize(::WideCharToMultiByte(CP_ACP, 0, L"検索語", -1, &ansi[0], 32, nullptr, nullptr) - 1);
    // Eight characters: 16 bytes, a size the allocator keeps as it is.
    std::wstring unterminated = L"途中で切れたテキ";
    struct Case {
        const char* name;
        TestDataObject* data;
        DWORD dragEffect;
        const wchar_t* text;   // the edit's text after the drop
    } cases[] = {
        {"UTF-16 text", Data([](TestDataObject& d) { d.SetUnicodeText(L"アーティスト名"); }), DROPEFFECT_COPY, L"アーティスト名"},
        {"both: UTF-16 wins", Data([](TestDataObject& d) { d.SetUnicodeText(L"ユニコード"); d.SetAnsiText("ansi"); }),
         DROPEFFECT_COPY, L"ユニコード"},
        {"ANSI text", nullptr, DROPEFFECT_COPY, L"検索語"},
        {"text without a terminator", nullptr, DROPEFFECT_COPY, L"途中で切れたテキ"},
        {"a file", Data([](TestDataObject& d) { d.SetBytes(CF_HDROP, std::string(40, '\0')); }), DROPEFFECT_NONE,
         L"途中で切れたテキ"},
    };
    cases[2].data = new TestDataObject;
    cases[2].data->SetAnsiText(ansi);
    cases[3].data = new TestDataObject;
    cases[3].data->SetBytes(CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(unterminated.data()),
                                                        unterminated.size() * sizeof(wchar_t)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ole->DragEnter(c.data, 0, at, &effect);
        EXPECT_EQ(c.dragEffect, effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ole->DragOver(0, at, &effect);
        EXPECT_EQ(c.dragEffect, effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ole->Drop(c.data, 0, at, &effect);
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);   // the source keeps its text
        // Read up to a terminator or the end of the block, never beyond.
        const std::wstring now = f.edit.GetWindowText();
        EXPECT_EQ(0u, now.rfind(c.text, 0));
        EXPECT_LE(now.size(), wcslen(c.text) + 8);
        c.data->Release();
    }
    f.edit.RevokeDropTarget();
    EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, ::RevokeDragDrop(f.edit.m_hWnd));
}
