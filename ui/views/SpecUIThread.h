#pragma once
#include "app/AppSettings.h"
#include "document/PlayerStatus.h"
#include "framework/WinThread.h"
#include "framework/Wnd.h"
#include "ui/views/SpecDrawing.h"
#include <atomic>
#include <mutex>
#include <optional>

// Thread messages of the spectrum thread.
constexpr UINT SpecMsgDraw = 0x1500;         // wParam: the status (unused; see SetStatus)
constexpr UINT SpecMsgDestroy = 0x1501;
constexpr UINT SpecMsgColorTable = 0x1502;   // wParam: new SpecColorRecord, freed by the thread
constexpr UINT SpecMsgMove = 0x1503;         // wParam: new SpecMoveRecord, freed by the thread

struct SpecColorRecord {
    int height;
    COLORREF maxColor;
    COLORREF minColor;
    COLORREF background;
};

struct SpecMoveRecord {
    int x, y, width, height;
};

// The spectrum window: the thread draws into it; it only paints its background itself.
class CSpecWnd : public CWnd {
public:
    explicit CSpecWnd(const CAppSettings& settings) : m_settings(settings) {}
    static const wchar_t* ClassName();

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC) { return TRUE; }
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    const CAppSettings& m_settings;
};

// The spectrum display's own user-interface thread: draws segmented bars of the player's
// spectrum into a bitmap and copies it to its window, never waiting for the UI thread.
class CSpecUIThread : public CWinThread {
public:
    // `status` is the pane's status copy, read under `lock`.
    CSpecUIThread(HWND parent, const CAppSettings& settings, CRITICAL_SECTION* lock, const PlayerStatusBlock* status);
    ~CSpecUIThread() override;

    // Creates the thread suspended, sets its priority, resumes it and waits up to `ms` for
    // its window and message queue. False when the thread did not start.
    bool Start(int priority, DWORD ms);
    // Destroys the window and ends the thread, waiting `ms` and then as long as it takes.
    bool Stop(DWORD ms);
    // Posts a record message; the record is freed here when it cannot be posted. The last
    // record of each kind is also kept, and the thread takes both when it starts: a record
    // posted before the thread had its queue is not lost.
    void PostColorTable(const SpecColorRecord& record);
    void PostMove(const SpecMoveRecord& record);
    void PostDraw() { PostThreadMessage(SpecMsgDraw, 0, 0); }
    // Draws from the pane's status copy from now on (null: clear only).
    void SetStatus(const PlayerStatusBlock* status) { m_status.store(status); }

    HANDLE ready() const { return m_ready; }
    HWND window() const { return m_wnd.m_hWnd; }

    // The bitmap and table: touched by the thread alone; read them only after Stop.
    const SpecDibBuffer& dib() const { return m_dib; }
    const SpecColorTable& table() const { return m_table; }

    BOOL InitInstance() override;
    int ExitInstance() override;

protected:
    void OnDraw(WPARAM, LPARAM);
    void OnDestroyWindow(WPARAM, LPARAM);
    void OnColorTable(WPARAM, LPARAM);
    void OnMove(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void CopyToWindow();
    void ApplyColorTable(const SpecColorRecord& record);
    void ApplyMove(const SpecMoveRecord& record);
    // The records kept by the two posts, for the thread's start.
    void ApplyKeptRecords();

    HWND m_parent;
    const CAppSettings& m_settings;
    CRITICAL_SECTION* m_lock;
    std::atomic<const PlayerStatusBlock*> m_status;
    CSpecWnd m_wnd;
    HANDLE m_ready;
    SpecDibBuffer m_dib;
    SpecColorTable m_table;
    PlayerStatusBlock m_frame;   // the thread's copy of the status being drawn
    UINT m_names[4] = {};
    std::mutex m_keptLock;   // guards the two kept records
    std::optional<SpecColorRecord> m_keptColors;
    std::optional<SpecMoveRecord> m_keptMove;
};
