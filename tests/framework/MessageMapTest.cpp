// Message maps and command routing, driven with real windows.
#include "framework/FrameIds.h"
#include "framework/CommandLineInfo.h"
#include "framework/Document.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/Object.h"
#include "framework/View.h"
#include "framework/WinApp.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

enum : UINT { ID_VIEW_ONLY = 101, ID_DOC_ONLY, ID_FRAME_ONLY, ID_APP_ONLY, ID_EVERYONE, ID_RANGE_A = 200, ID_RANGE_B = 209 };
UINT g_registeredMsg = ::RegisterWindowMessageW(L"LarkTestRegistered");

class TestApp : public CWinApp {
public:
    void OnAppOnly() { g_log.push_back("app"); }
    void OnEveryone() { g_log.push_back("app-everyone"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(ID_APP_ONLY, &TestApp::OnAppOnly)
    ON_COMMAND(ID_EVERYONE, &TestApp::OnEveryone)
END_MESSAGE_MAP()

struct Hint : CObject {
    int value = 0;
};

class TestDoc : public CDocument {
public:
    void OnDocOnly() { g_log.push_back("doc"); }
    void OnEveryone() { g_log.push_back("doc-everyone"); }
    void OnUpdateDocOnly(CCmdUI* ui) { ui->Enable(FALSE); }
    BOOL OnNewDocument() override { return newDocumentResult; }
    void OnCloseDocument() override { g_log.push_back("doc-close"); }
    ~TestDoc() override { g_log.push_back("doc-deleted"); }
    static inline BOOL newDocumentResult = TRUE;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
    ON_COMMAND(ID_DOC_ONLY, &TestDoc::OnDocOnly)
    ON_COMMAND(ID_EVERYONE, &TestDoc::OnEveryone)
    ON_UPDATE_COMMAND_UI(ID_DOC_ONLY, &TestDoc::OnUpdateDocOnly)
END_MESSAGE_MAP()

class TestView : public CView {
public:
    void OnViewOnly() { g_log.push_back("view"); }
    void OnRange(UINT id) { g_log.push_back("range " + std::to_string(id)); }
    void OnInitialUpdate() override { g_log.push_back("view-initial"); }
    void OnUpdate(CView* sender, LPARAM hint, CObject* object) override {
        lastSender = sender;
        lastHint = hint;
        auto* h = dynamic_cast<Hint*>(object);
        lastHintValue = h ? h->value : -1;
        ++updates;
    }
    LRESULT OnRegistered(WPARAM wp, LPARAM lp) { return static_cast<LRESULT>(wp + lp); }
    LRESULT OnUser(WPARAM wp, LPARAM) {
        if (wp == 99) throw std::runtime_error("handler failure");
        return 7;
    }
    CView* lastSender = nullptr;
    LPARAM lastHint = -1;
    int lastHintValue = -1;
    int updates = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestView, CView)
    ON_COMMAND(ID_VIEW_ONLY, &TestView::OnViewOnly)
    ON_COMMAND_RANGE(ID_RANGE_A, ID_RANGE_B, &TestView::OnRange)
    ON_REGISTERED_MESSAGE(g_registeredMsg, &TestView::OnRegistered)
    ON_MESSAGE(WM_USER + 1, &TestView::OnUser)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
public:
    void OnFrameOnly() { g_log.push_back("frame"); }
    void OnEveryone() { g_log.push_back("frame-everyone"); }
    void OnEditChange() { g_log.push_back("frame-edit"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_COMMAND(ID_FRAME_ONLY, &TestFrame::OnFrameOnly)
    ON_COMMAND(ID_EVERYONE, &TestFrame::OnEveryone)
    ON_CONTROL(EN_CHANGE, ID_FRAME_ONLY, &TestFrame::OnEditChange)
END_MESSAGE_MAP()

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        TestDoc::newDocumentResult = TRUE;
        app.m_nCmdShow = SW_HIDE;   // showing a frame under Xvfb costs seconds; one test does
        app.AddDocTemplate(CSingleDocTemplate::Create<TestDoc, TestFrame, TestView>(1));
    }
    void TearDown() override {
        if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd) app.m_pMainWnd->DestroyWindow();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {}
    }
    TestFrame* Frame() { return static_cast<TestFrame*>(app.m_pMainWnd); }
    void Command(UINT id) { SendMessageW(Frame()->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    TestApp app;
};

TEST_F(FrameworkTest, NewDocumentCreatesFrameAndViewAndRunsInitialUpdate) {
    app.m_nCmdShow = SW_SHOW;
    CDocument* doc = app.GetDocTemplate()->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(Frame(), nullptr);
    ASSERT_EQ(doc->GetViews().size(), 1u);
    EXPECT_EQ(Frame()->GetActiveView(), doc->GetViews()[0]);
    EXPECT_EQ(Frame()->GetActiveDocument(), doc);
    EXPECT_EQ(g_log, std::vector<std::string>{"view-initial"});
    EXPECT_TRUE(IsWindowVisible(Frame()->m_hWnd));
    // One document for the life of the program.
    EXPECT_EQ(app.GetDocTemplate()->OpenDocumentFile(nullptr), doc);
}

TEST_F(FrameworkTest, CommandsRouteViewThenDocumentThenFrameThenApplication) {
    ASSERT_NE(app.GetDocTemplate()->OpenDocumentFile(nullptr), nullptr);
    g_log.clear();
    Command(ID_VIEW_ONLY);
    Command(ID_DOC_ONLY);
    Command(ID_FRAME_ONLY);
    Command(ID_APP_ONLY);
    Command(ID_EVERYONE);   // the first target in the route takes it
    Command(ID_RANGE_A + 4);
    EXPECT_EQ(g_log, (std::vector<std::string>{"view", "doc", "frame", "app", "doc-everyone", "range 204"}));
}

TEST_F(FrameworkTest, AButtonClickIsACommandButOtherControlNotificationsAreNot) {
    CDocument* doc = app.GetDocTemplate()->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    const LPARAM control = reinterpret_cast<LPARAM>(doc->GetViews()[0]->m_hWnd);
    g_log.clear();
    auto notify = [&](UINT id, UINT code, LPARAM from) {
        SendMessageW(Frame()->m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), from);
    };
    notify(ID_DOC_ONLY, BN_CLICKED, control);    // a toolbar button of the frame
    notify(ID_DOC_ONLY, EN_CHANGE, control);     // not a command
    notify(ID_FRAME_ONLY, EN_CHANGE, control);
    notify(ID_FRAME_ONLY, 1, 0);                 // an accelerator
    EXPECT_EQ(g_log, (std::vector<std::string>{"doc", "frame-edit", "frame"}));
}

TEST_F(FrameworkTest, ADestroyedViewIsNeitherActiveNorUpdated) {
    CDocument* doc = app.GetDocTemplate()->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    DestroyWindow(doc->GetViews()[0]->m_hWnd);
    EXPECT_EQ(Frame()->GetActiveView(), nullptr);
    EXPECT_TRUE(doc->GetViews().empty());
    // Layout, focus and commands of the frame go on without the view.
    g_log.clear();
    SendMessageW(Frame()->m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    SendMessageW(Frame()->m_hWnd, WM_SETFOCUS, 0, 0);
    Command(ID_DOC_ONLY);
    EXPECT_EQ(g_log, std::vector<std::string>{"doc"});
}

TEST_F(FrameworkTest, CommandStateQueryReachesTheHandlerAndUnknownCommandsAreNotHandled) {
    ASSERT_NE(app.GetDocTemplate()->OpenDocumentFile(nullptr), nullptr);
    CCmdUI ui;
    ui.m_nID = ID_DOC_ONLY;
    EXPECT_TRUE(Frame()->OnCmdMsg(ID_DOC_ONLY, CN_UPDATE_COMMAND_UI, &ui));
    EXPECT_FALSE(ui.m_enabled);
    CCmdUI other;
    EXPECT_FALSE(Frame()->OnCmdMsg(ID_VIEW_ONLY, CN_UPDATE_COMMAND_UI, &other));
    EXPECT_FALSE(Frame()->OnCmdMsg(999, CN_COMMAND, nullptr));
}

TEST_F(FrameworkTest, UpdateAllViewsSkipsTheSenderAndCarriesTheHint) {
    CDocument* doc = app.GetDocTemplate()->OpenDocumentFile(nullptr);
    auto* view = static_cast<TestView*>(doc->GetViews()[0]);
    Hint hint;
    hint.value = 42;
    doc->UpdateAllViews(nullptr, 30, &hint);
    EXPECT_EQ(view->lastHint, 30);
    EXPECT_EQ(view->lastHintValue, 42);
    int before = view->updates;
    doc->UpdateAllViews(view, 31);
    EXPECT_EQ(view->updates, before) << "the sender is not told of its own change";
}

TEST_F(FrameworkTest, RegisteredAndPlainMessagesAndHandlerExceptionsStayInsideTheWindow) {
    CDocument* doc = app.GetDocTemplate()->OpenDocumentFile(nullptr);
    HWND view = doc->GetViews()[0]->m_hWnd;
    EXPECT_EQ(SendMessageW(view, g_registeredMsg, 3, 4), 7);
    EXPECT_EQ(SendMessageW(view, WM_USER + 1, 0, 0), 7);
    // A throwing handler falls back to the default procedure instead of unwinding into Windows.
    EXPECT_EQ(SendMessageW(view, WM_USER + 1, 99, 0), 0);
}

TEST_F(FrameworkTest, ClosingTheFrameClosesAndDeletesTheDocumentAndEndsTheLoop) {
    // The close box and the menu's exit command end the program the same way.
    for (bool byCommand : {false, true}) {
        ASSERT_NE(app.GetDocTemplate()->OpenDocumentFile(nullptr), nullptr);
        g_log.clear();
        if (byCommand)
            Command(ID_APP_EXIT);
        else
            SendMessageW(Frame()->m_hWnd, WM_CLOSE, 0, 0);
        EXPECT_EQ(app.m_pMainWnd, nullptr) << byCommand;
        EXPECT_EQ(g_log, (std::vector<std::string>{"doc-close", "doc-deleted"})) << byCommand;
        MSG m;
        bool quit = false;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) quit = quit || m.message == WM_QUIT;
        EXPECT_TRUE(quit) << byCommand;
    }
}

// A view that refuses to be created fails the frame's creation and with it the shell command.
class RefusingView : public TestView {
public:
    int OnCreate(LPCREATESTRUCTW) { return -1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RefusingView, TestView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(FrameworkCreation, AFrameThatCannotCreateItsViewDeletesEverythingOnce) {
    g_log.clear();
    TestApp app;
    app.m_nCmdShow = SW_HIDE;
    app.AddDocTemplate(CSingleDocTemplate::Create<TestDoc, TestFrame, RefusingView>(1));
    EXPECT_EQ(app.GetDocTemplate()->OpenDocumentFile(nullptr), nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "doc-deleted"), 1);
}

TEST_F(FrameworkTest, FailedNewDocumentFailsTheShellCommand) {
    TestDoc::newDocumentResult = FALSE;
    EXPECT_EQ(app.GetDocTemplate()->OpenDocumentFile(nullptr), nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), "doc-deleted"), g_log.end());
}

class RecordingPresenter : public IMessageBoxPresenter {
public:
    int Show(HWND, const std::wstring& text, const std::wstring& caption, UINT type) override {
        texts.push_back(text);
        this->caption = caption;
        this->type = type;
        return IDOK;
    }
    std::vector<std::wstring> texts;
    std::wstring caption;
    UINT type = 0;
};

TEST(AfxMessageBoxTest, GoesThroughTheReplaceablePresenter) {
    TestApp app;
    app.InitInstance();
    RecordingPresenter rec;
    IMessageBoxPresenter* old = AfxSetMessageBoxPresenter(&rec);
    EXPECT_EQ(AfxMessageBox(L"データベースが開けませんでした。", MB_OK | MB_ICONERROR), IDOK);
    AfxSetMessageBoxPresenter(old);
    ASSERT_EQ(rec.texts.size(), 1u);
    EXPECT_EQ(rec.texts[0], L"データベースが開けませんでした。");
    EXPECT_EQ(rec.type, (UINT)(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(rec.caption.empty());
}

TEST(CommandLine, SwitchesLoseTheirMarkAndTheFirstPlainArgumentIsAFile) {
    struct Recorder : CCommandLineInfo {
        std::vector<std::wstring> seen;
        void ParseParam(const wchar_t* p, BOOL sw, BOOL last) override {
            seen.push_back(std::wstring(sw ? L"S:" : L"P:") + p + (last ? L"!" : L""));
            CCommandLineInfo::ParseParam(p, sw, last);
        }
    } r;
    r.ParseArguments({L"/a:b", L"-c", L"file.mp3", L"other"});
    EXPECT_EQ(r.seen, (std::vector<std::wstring>{L"S:a:b", L"S:c", L"P:file.mp3", L"P:other!"}));
    EXPECT_EQ(r.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(r.m_strFileName, L"file.mp3");
}

TEST(WinApp, IdleWorkThatThrowsNeitherEndsTheLoopNorSkipsExitInstance) {
    struct ThrowingApp : CWinApp {
        int exits = 0;
        int calls = 0;
        BOOL OnIdle(LONG) override {
            if (++calls == 1) {
                ::PostMessageW(nullptr, WM_NULL, 0, 0);   // wakes the loop for a second round
                throw std::runtime_error("idle failure");
            }
            ::PostQuitMessage(3);
            return FALSE;
        }
        int ExitInstance() override {
            ++exits;
            return CWinApp::ExitInstance();
        }
    } app;
    EXPECT_EQ(app.Run(), 3);
    EXPECT_EQ(app.exits, 1);
}

TEST(WinApp, RunCallsIdleUntilItDeclinesAndReturnsTheQuitCode) {
    struct IdleApp : CWinApp {
        int idleCalls = 0;
        BOOL OnIdle(LONG count) override {
            ++idleCalls;
            if (count == 2) ::PostQuitMessage(5);
            return count < 2;
        }
    } app;
    EXPECT_EQ(app.Run(), 5);
    EXPECT_GE(app.idleCalls, 3);
}

TEST(WinApp, APaintDoesNotStartIdleProcessingAgain) {
    // Idle work that repaints must not run again after every paint. The paint arms a timer
    // whose message ends the loop; between the two the loop is idle.
    static const wchar_t kClass[] = L"LarkIdlePaintTest";
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_PAINT) SetTimer(h, 1, 50, nullptr);
        if (m == WM_TIMER) {
            KillTimer(h, 1);
            PostQuitMessage(3);
        }
        return m == WM_PAINT || m == WM_TIMER ? 0 : DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    struct PaintingApp : CWinApp {
        HWND wnd = nullptr;
        int idleCalls = 0;
        BOOL OnIdle(LONG) override {
            if (++idleCalls == 1) PostMessageW(wnd, WM_PAINT, 0, 0);
            return FALSE;
        }
    } app;
    app.wnd = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(app.wnd, nullptr);
    EXPECT_EQ(app.Run(), 3);
    EXPECT_EQ(app.idleCalls, 1);
    DestroyWindow(app.wnd);
}

}  // namespace
