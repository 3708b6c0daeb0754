#pragma once
#include "app/AppSettings.h"
#include "framework/Dialog.h"
#include <memory>
#include <string>

namespace Gdiplus { class Bitmap; class Image; }

// The cover window: the current track's picture at a zoom (or the size the user drags it
// to, keeping its aspect ratio), or "No image.". It draws under the now-playing lock.
class CDlgImage : public CDialog {
public:
    explicit CDlgImage(CAppSettings& settings);
    ~CDlgImage() override;

    void SetLock(CRITICAL_SECTION* lock) { m_lock = lock; }
    BOOL Create(CWnd* owner);
    void ShowBySetting();
    // After a settings change: opacity, then a redraw.
    void ApplyWindowOpacity();

    // Takes a copy of the picture (or none) and picks the zoom for it.
    void SetImage(Gdiplus::Image* image);
    // Places and sizes the window for the picture and zoom, and titles it.
    void UpdateLayout();

    BOOL OnInitDialog() override;
    int GetZoom() const { return m_zoom; }
    void SetZoom(int zoom);
    bool HasPicture() const { return m_picture != nullptr; }
    int PictureWidth() const { return m_width; }
    int PictureHeight() const { return m_height; }
    CAppSettings::FloatingWindow& Settings() { return m_settings.imageWindow; }

protected:
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnCancel() override;
    void OnOK() override {}
    void OnPaint();
    BOOL OnEraseBkgnd(HDC) { return TRUE; }
    void OnDestroy();
    void OnLButtonDown(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnRButtonUp(UINT flags, POINT point);
    void OnSetFocus(HWND);
    void OnKillFocus(HWND);
    LRESULT OnImageLayout(WPARAM wParam, LPARAM lParam);
    LRESULT OnSizing(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void DrawImage();
    void FreeBackBuffer();
    SIZE FrameSize() const;

    CAppSettings& m_settings;
    CRITICAL_SECTION* m_lock = nullptr;
    std::unique_ptr<Gdiplus::Bitmap> m_picture;
    int m_width = 0;
    int m_height = 0;
    int m_zoom = 100;
    HMENU m_menu = nullptr;
    HDC m_bufferDC = nullptr;
    HBITMAP m_bufferBitmap = nullptr;
    HGDIOBJ m_bufferOld = nullptr;
    bool m_bufferValid = false;
    bool m_dragging = false;
    POINT m_dragStart{};
    static UINT s_layoutMsg;
};

// The title of the cover window for a zoom and client size, or without a picture.
std::wstring CoverWindowTitle(bool hasPicture, int zoom, int width, int height);
