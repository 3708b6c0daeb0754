#pragma once
#include <windows.h>
#include <string>

// Every message box of the program goes through the current presenter, so that tests can
// answer them without a modal loop.
class IMessageBoxPresenter {
public:
    virtual ~IMessageBoxPresenter() = default;
    virtual int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) = 0;
};

// Replaces the presenter (null restores the system's message box); returns the previous one.
IMessageBoxPresenter* AfxSetMessageBoxPresenter(IMessageBoxPresenter* presenter);

// A message box owned by the main window, captioned with the application title.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK);
// The same with a string resource.
int AfxMessageBox(UINT stringId, UINT type = MB_OK);

// A string resource of the program ("" when missing).
std::wstring AfxLoadString(UINT id);
