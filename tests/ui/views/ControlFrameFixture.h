#pragma once
// The program's document in a hidden main frame, started on the no-sound device, with a
// small library: what the action, hot-key, tray and search tests drive.
#include "document/DocTestSupport.h"
#include "document/PlayerTestSupport.h"
#include "document/PlaylistLoader.h"
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "resources/resource.h"
#include "ui/views/Larkspur2006View.h"
#include "ui/views/MainFrame.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace control_test {

// Records the hints that reach the views (it has no window) and, as the play list does, reads a new play list
// into the document's cache.
class HintView : public CView {
public:
    void OnUpdate(CView*, LPARAM hint, CObject*) override {
        hints.push_back(hint);
        auto* doc = dynamic_cast<CLarkspur2006Doc*>(GetDocument());
        if (hint == HintPlaylistReady && doc)
            LoadPlaylistCache(doc->GetDatabase(), doc->GetPlaylistCache(), nullptr, nullptr);
    }
    int Count(LPARAM code) const {
        int n = 0;
        for (LPARAM h : hints) n += h == code;
        return n;
    }
    std::vector<LPARAM> hints;
};

class ControlFrameFixture : public ::testing::Test {
protected:
    ControlFrameFixture() {
        app.m_nCmdShow = SW_HIDE;
        app.SetProfileFile(dir.file(L"toolbar.ini"));
        settings = doc_test::MakeSettings(dir.path());
        settings.bass.device = 0;
        settings.bass.frequency = 44100;
        settings.bass.masterVolume = 50;
        settings.bass.seekSeconds = 5;
        settings.thread.watchWait = 16;
        settings.bass.repeatMode = 0;
        settings.search.searchWay = 127;
        settings.search.searchRecentMax = 50;
        settings.search.searchWordInclimentWait = 500;
        settings.mainWindowOptions.infoTipTimeout = 3000;
    }
    ~ControlFrameFixture() override { Close(); }

    // Creates the document and the frame as the program's start does.
    bool Open() {
        tmpl = std::make_unique<CSingleDocTemplate>(
            IDR_MAINFRAME, [this] { return static_cast<CDocument*>(new CLarkspur2006Doc(settings)); },
            [] { return static_cast<CFrameWnd*>(new CMainFrame); },
            [] { return static_cast<CView*>(new CLarkspur2006View); });
        doc = static_cast<CLarkspur2006Doc*>(tmpl->OpenDocumentFile(nullptr));
        frame = doc ? static_cast<CMainFrame*>(app.m_pMainWnd) : nullptr;
        if (doc) {
            doc->AddView(&hintView);
            view = &hintView;
        }
        return frame != nullptr;
    }
    void Close() {
        if (doc && view) doc->RemoveView(&hintView);
        if (frame && ::IsWindow(frame->m_hWnd)) ::SendMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);
        frame = nullptr;
        doc = nullptr;
        view = nullptr;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // A WAV track of `seconds` added to the library (not to the play list).
    int64_t AddTrack(const std::wstring& name, const std::wstring& title, const std::wstring& artist = L"",
                     double seconds = 5.0);
    // Runs a query into the play list as the program does: the rows of `sql`.
    bool LoadPlaylist(const std::wstring& sql = L"SELECT * FROM list;");

    CWinApp app;
    testing_support::TempDir dir;
    CAppSettings settings;
    doc_test::DBErrorRecorder errors;
    std::unique_ptr<CSingleDocTemplate> tmpl;
    CLarkspur2006Doc* doc = nullptr;
    CMainFrame* frame = nullptr;
    HintView hintView;   // beside the frame's panes, without a window
    HintView* view = nullptr;
};

}  // namespace control_test
