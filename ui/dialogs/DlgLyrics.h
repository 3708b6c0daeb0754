#pragma once
#include "app/AppSettings.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CDlgLyrics;

// The lyrics text: the window turns opaque while the text has the keyboard focus.
class CLyricsEdit : public CEdit {
public:
    explicit CLyricsEdit(CDlgLyrics& owner) : m_owner(owner) {}

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CDlgLyrics& m_owner;
};

// The lyrics window: the current track's whole lyrics in one edit control, with its own font
// and colours, translucent while it does not have the focus.
class CDlgLyrics : public CDialog {
public:
    explicit CDlgLyrics(CAppSettings& settings);
    ~CDlgLyrics() override;

    // Creates the window owned by `owner`; shown at once when "Window.Show" is set.
    BOOL Create(CWnd* owner);
    // After a settings change: font, brush, opacity.
    void ApplySettings();
    // Shows or hides the window by "Window.Show".
    void ShowBySetting();

    BOOL OnInitDialog() override;
    CAppSettings::FloatingWindow& Settings() { return m_settings.lyricsWindow; }
    std::wstring GetText() const { return m_edit.GetWindowText(); }
    HWND GetEditWindow() const { return m_edit.m_hWnd; }

protected:
    void OnCancel() override;
    void OnOK() override {}
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    HBRUSH OnCtlColor(HDC dc, CWnd* wnd, UINT ctlType);
    LRESULT OnSetLyricsText(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void MakeFont();
    CAppSettings& m_settings;
    CLyricsEdit m_edit;
    HFONT m_font = nullptr;
    HBRUSH m_brush = nullptr;
    static UINT s_setTextMsg;
};
