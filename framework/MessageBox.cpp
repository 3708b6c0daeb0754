#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {
class SystemPresenter : public IMessageBoxPresenter {
public:
    int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override {
        return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
    }
};
SystemPresenter g_system;
IMessageBoxPresenter* g_presenter = &g_system;
}  // namespace

IMessageBoxPresenter* AfxSetMessageBoxPresenter(IMessageBoxPresenter* presenter) {
    IMessageBoxPresenter* old = g_presenter;
    g_presenter = presenter ? presenter : &g_system;
    return old;
}

int AfxMessageBox(const std::wstring& text, UINT type) {
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    std::wstring caption = app ? app->GetAppTitle() : std::wstring();
    return g_presenter->Show(owner, text, caption, type);
}

int AfxMessageBox(UINT stringId, UINT type) {
    return AfxMessageBox(AfxLoadString(stringId), type);
}

std::wstring AfxLoadString(UINT id) {
    const wchar_t* p = nullptr;
    int n = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&p), 0);
    return n > 0 && p ? std::wstring(p, static_cast<size_t>(n)) : std::wstring();
}
