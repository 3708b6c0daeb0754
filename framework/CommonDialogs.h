#pragma once
#include <windows.h>
#include <commdlg.h>
#include <string>

class CWnd;

// The system's colour, font and file dialogs all run through one replaceable runner, so that
// tests answer them without a modal loop. Each call answers like the system function it
// stands for: TRUE when the user chose.
class ICommonDialogRunner {
public:
    virtual ~ICommonDialogRunner() = default;
    virtual BOOL RunColorDialog(CHOOSECOLORW& cc) = 0;
    virtual BOOL RunFontDialog(CHOOSEFONTW& cf) = 0;
    virtual BOOL RunFileDialog(OPENFILENAMEW& ofn, bool open) = 0;
};

// Replaces the runner (null restores the system's dialogs); returns the previous one.
ICommonDialogRunner* AfxSetCommonDialogRunner(ICommonDialogRunner* runner);

// The colour dialog. The custom colours are shared by every colour dialog of the program.
class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }
    CHOOSECOLORW m_cc{};
};

// The font dialog, initialised from `initial` when given.
class CFontDialog {
public:
    explicit CFontDialog(const LOGFONTW* initial = nullptr, DWORD flags = CF_SCREENFONTS, HDC printer = nullptr,
                         CWnd* parent = nullptr);
    INT_PTR DoModal();
    std::wstring GetFaceName() const { return m_lf.lfFaceName; }
    // In tenths of a point.
    int GetSize() const { return m_cf.iPointSize; }
    CHOOSEFONTW m_cf{};
    LOGFONTW m_lf{};
};

// The open or save dialog. `filter` is "description|pattern|...", ending with "|".
class CFileDialog {
public:
    CFileDialog(BOOL open, const wchar_t* defaultExt = nullptr, const wchar_t* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                CWnd* parent = nullptr);
    INT_PTR DoModal();
    std::wstring GetPathName() const { return m_file; }
    OPENFILENAMEW m_ofn{};

private:
    bool m_open;
    std::wstring m_filter;
    std::wstring m_defaultExt;
    std::wstring m_file;
    wchar_t m_buffer[MAX_PATH * 4] = {};
};
