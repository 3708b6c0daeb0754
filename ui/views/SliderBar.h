#pragma once
#include "document/PlayerStatus.h"
#include "framework/CommonCtrls.h"
#include "framework/DialogBar.h"
#include "ui/controls/NonEraseBkButton.h"
#include <windows.h>
#include <string>

class CLarkspur2006Doc;

// The seek bar's trackbar: it never keeps the keyboard focus, which goes on to the frame.
class CSliderEx : public CSliderCtrl {
protected:
    void OnSetFocus(HWND oldWnd);
    DECLARE_MESSAGE_MAP()
};

// The seek bar: a band of the main window's rebar with a trackbar over the playing stream
// (in bytes of the decoded stream) and a button showing the elapsed or remaining time.
// The player's status watch thread feeds it through OnPlayerStatus.
class CSliderBar : public CDialogBar {
public:
    CSliderBar();
    ~CSliderBar() override;

    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id) override;

    // The status listener (status watch thread): copies the status and posts
    // "SliderMsgCallback" to the bar; it touches no window.
    static void OnPlayerStatus(const PlayerStatusBlock* status, void* bar);
    // Play started, stopped or failed (UI thread).
    void OnPlayStateChanged(const PlayerStatusBlock& status);
    // Command 1010, a click on the time display: elapsed <-> remaining time.
    void ToggleTimeDisplay() { m_timeMode = m_timeMode == 0 ? 1 : 0; RedrawTime(); }
    int GetTimeDisplayMode() const { return m_timeMode; }
    bool IsDragging() const { return m_dragging != 0; }
    // The time display's text for the copied status.
    std::wstring GetTimeText();

    CSliderEx& GetSlider() { return m_slider; }
    CNonEraseBkButtonBass& GetTimeButton() { return m_timeButton; }

    static UINT GetSliderMsgCallback();

protected:
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    BOOL OnEraseBkgnd(HDC dc);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void OnStatusCallback();
    void DrawTime(const DRAWITEMSTRUCT& item);
    void RedrawTime();
    // Seeks the active document to the place of the trackbar under the cursor.
    void SeekAtCursor();
    void Seek(int64_t bytes);
    CLarkspur2006Doc* ActiveDocument() const;

    HFONT m_timeFont = nullptr;
    int m_timeMode = 0;
    BYTE m_dragging = 0;
    PlayerStatusBlock m_status;          // guarded by m_lock
    int m_unitShift = 0;                 // trackbar unit = 2^shift bytes; guarded by m_lock
    CNonEraseBkButtonBass m_timeButton;
    CSliderEx m_slider;
    CRITICAL_SECTION m_lock;
    bool m_lockReady = false;
    DWORD m_uiThread = 0;
    HWND m_window = nullptr;
};
