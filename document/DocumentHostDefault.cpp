#include "document/IDocumentHost.h"
#include "framework/MessageBox.h"
#include <cderr.h>
#include <commdlg.h>
#include <cwchar>

int CDocumentHostDefault::ShowMessage(const std::wstring& text, UINT type) {
    return AfxMessageBox(text, type);
}

bool CDocumentHostDefault::ShowFileDialog(const FileDialogRequest& request, FileDialogResult& result) {
    // The filter uses "|" as its separator, as written by the callers.
    std::wstring filter = request.filter;
    for (auto& c : filter)
        if (c == L'|') c = L'\0';
    filter.push_back(L'\0');

    std::vector<wchar_t> name(request.nameBufferChars > 0 ? request.nameBufferChars : MAX_PATH, L'\0');
    wcsncpy(name.data(), request.defaultName.c_str(), name.size() - 1);

    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner ? owner : GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY;
    if (request.multiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
    if (request.overwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;

    DWORD outcome = 0;
    if (runFileDialog) {
        outcome = runFileDialog(ofn, request.save);
    } else if (!(request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) {
        outcome = CommDlgExtendedError();
        if (outcome == 0) outcome = kFileDialogCancelled;
    }
    if (outcome == kFileDialogCancelled) return false;
    if (outcome == FNERR_BUFFERTOOSMALL) {
        // The names chosen do not fit: say so rather than act as if nothing was chosen.
        ShowMessage(L"選択されたファイルが多すぎます。\r\n一度に選ぶファイルを減らして、もう一度お試しください。",
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (outcome != 0) {
        wchar_t text[160];
        swprintf(text, 160, L"ファイルを選択できませんでした。(エラー 0x%04lX)", static_cast<unsigned long>(outcome));
        ShowMessage(text, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    result.files.clear();
    std::wstring first(name.data());
    const wchar_t* p = name.data() + first.size() + 1;
    if (!request.multiSelect || *p == L'\0') {
        // One file: the path name is the file itself.
        result.pathName = first;
        result.files.push_back(first);
        return true;
    }
    // Several files: the folder, then each name.
    result.pathName = first;
    std::wstring folder = first;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    while (*p) {
        std::wstring file(p);
        result.files.push_back(folder + file);
        p += file.size() + 1;
    }
    return true;
}

bool CDocumentHostDefault::ChooseFontName(std::wstring& faceName) {
    LOGFONTW font = {};
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    CHOOSEFONTW cf = {};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner ? owner : GetActiveWindow();
    cf.lpLogFont = &font;
    cf.Flags = CF_SCREENFONTS | CF_NOSTYLESEL | CF_NOSIZESEL | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&cf)) return false;
    faceName = font.lfFaceName;
    return true;
}
