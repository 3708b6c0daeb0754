#include "ui/dialogs/PpAbout.h"
#include "document/Larkspur2006Doc.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "ui/dialogs/SettingsPage.h"
#include <sqlite3.h>
#include <cwchar>
#include <vector>

// The versions of the libraries the build links come from the build (see ui/CMakeLists.txt).
#ifndef LARK_OGG_VERSION
#define LARK_OGG_VERSION "?"
#define LARK_VORBIS_VERSION "?"
#define LARK_ID3TAG_VERSION "?"
#define LARK_FLAC_VERSION "?"
#define LARK_TAGLIB_VERSION "?"
#define LARK_FFMPEG_VERSION "?"
#endif

namespace {
// A value of the version resource of this program, through its translation table; empty
// when it cannot be read.
std::wstring VersionValue(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (!n || n >= MAX_PATH) return L"";
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (!size) return L"";
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(path, 0, size, data.data())) return L"";
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
        return L"";
    wchar_t key[128];
    std::swprintf(key, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage, name);
    wchar_t* value = nullptr;
    if (!::VerQueryValueW(data.data(), key, reinterpret_cast<void**>(&value), &length) || !value) return L"";
    return std::wstring(value, length && value[length - 1] == L'\0' ? length - 1 : length);
}

std::wstring Widen(const char* text) {
    std::wstring out;
    for (const char* p = text; p && *p; ++p) out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return out;
}

const wchar_t kXiphBsd[] =
    L"Redistribution and use in source and binary forms, with or without modification, are permitted "
    L"provided that the following conditions are met:\r\n"
    L"- Redistributions of source code must retain the above copyright notice, this list of conditions "
    L"and the following disclaimer.\r\n"
    L"- Redistributions in binary form must reproduce the above copyright notice, this list of conditions "
    L"and the following disclaimer in the documentation and/or other materials provided with the distribution.\r\n"
    L"- Neither the name of the Xiph.org Foundation nor the names of its contributors may be used to endorse "
    L"or promote products derived from this software without specific prior written permission.\r\n"
    L"THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS \"AS IS\" AND ANY EXPRESS OR IMPLIED "
    L"WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A "
    L"PARTICULAR PURPOSE ARE DISCLAIMED. IN NO EVENT SHALL THE FOUNDATION OR CONTRIBUTORS BE LIABLE FOR ANY "
    L"DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL DAMAGES (INCLUDING, BUT NOT LIMITED TO, "
    L"PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS INTERRUPTION) "
    L"HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT LIABILITY, OR TORT (INCLUDING "
    L"NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE "
    L"POSSIBILITY OF SUCH DAMAGE.\r\n";
}  // namespace

BEGIN_MESSAGE_MAP(CPpAbout, CPropertyPage)
    ON_BN_CLICKED(IDC_ABOUT_LINK, &CPpAbout::OnLink)
    ON_WM_DRAWITEM()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CPpAbout::CPpAbout() : CPropertyPage(IDD_PP_ABOUT) {}

CPpAbout::~CPpAbout() = default;

std::wstring CPpAbout::TitleLine() {
    std::wstring line = AfxLoadString(57344) + L" Version ";
    line += VersionValue(L"FileVersion");
    line += L"\r\n";
    line += VersionValue(L"LegalCopyright");
    return line;
}

std::wstring CPpAbout::Credits() {
    std::wstring text;
    text += L"アイコン: Spur のために描き起こしたオリジナルのアイコンです。\r\n";
    text += L"\r\n";
    text += L"SQLite " + Widen(sqlite3_libversion()) + L"\r\n";
    text += L"https://www.sqlite.org/ (パブリックドメイン)\r\n";
    text += L"\r\n";
    text += L"オーディオエンジン: Spur 独自のエンジン (FFmpeg によるデコード、waveOut による出力)\r\n";
    text += L"\r\n";
    text += L"libogg " LARK_OGG_VERSION L", libvorbis " LARK_VORBIS_VERSION L"\r\n";
    text += L"Copyright (c) 2002-2020 Xiph.org Foundation\r\n";
    text += kXiphBsd;
    text += L"\r\n";
    text += L"libid3tag " LARK_ID3TAG_VERSION L"\r\n";
    text += L"Copyright (C) 2000-2004 Underbit Technologies, Inc.\r\n";
    text += L"This program is free software; you can redistribute it and/or modify it under the terms of the "
            L"GNU General Public License as published by the Free Software Foundation; either version 2 of the "
            L"License, or (at your option) any later version.\r\n";
    text += L"\r\n";
    text += L"libFLAC " LARK_FLAC_VERSION L"\r\n";
    text += L"Copyright (C) 2000-2009 Josh Coalson\r\n";
    text += L"Copyright (C) 2011-2022 Xiph.Org Foundation\r\n";
    text += kXiphBsd;
    text += L"\r\n";
    text += L"TagLib " LARK_TAGLIB_VERSION L"\r\n";
    text += L"Copyright (C) 2002-2023 Scott Wheeler and the TagLib contributors\r\n";
    text += L"TagLib is distributed under the GNU Lesser General Public License (LGPL) version 2.1 and the "
            L"Mozilla Public License (MPL) version 1.1. https://taglib.org/\r\n";
    text += L"\r\n";
    text += L"FFmpeg " LARK_FFMPEG_VERSION L"\r\n";
    text += L"This software uses libraries from the FFmpeg project under the GNU Lesser General Public "
            L"License (LGPL) version 2.1 or later. https://ffmpeg.org/\r\n";
    return text;
}

BOOL CPpAbout::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_TITLE, TitleLine());
    SetDlgItemText(IDC_ABOUT_CREDITS, Credits());
    // The credits show from their first line.
    SendDlgItemMessage(IDC_ABOUT_CREDITS, EM_SETSEL, 0, 0);
    SendDlgItemMessage(IDC_ABOUT_CREDITS, EM_SCROLLCARET);
    FillAddons();
    return TRUE;
}

void CPpAbout::FillAddons() {
    HWND list = ::GetDlgItem(m_hWnd, IDC_ABOUT_ADDONS);
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const struct {
        const wchar_t* title;
        int width;
    } columns[] = {{L"名前", 100}, {L"パス", 450}};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(columns[i].title);
        column.cx = columns[i].width;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    if (!m_pDoc) return;
    int row = 0;
    for (int i = 0; i < CLarkspur2006Doc::kAddonCount; ++i) {
        const BassAddonModule& addon = m_pDoc->GetAddonModule(i);
        if (!addon.loaded) continue;
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(addon.dllName.c_str());
        const int index = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (index < 0) continue;
        LVITEMW path{};
        path.iSubItem = 1;
        path.pszText = const_cast<wchar_t*>(addon.path.c_str());
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&path));
        ++row;
    }
}

void CPpAbout::OnLink() { settings_paint::OpenLink(m_hWnd, GetDlgItemText(IDC_ABOUT_LINK)); }

void CPpAbout::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (item && id == IDC_ABOUT_LINK) settings_paint::Link(*item, GetFont());
    else if (item) CWnd::OnDrawItem(id, item);
}

BOOL CPpAbout::OnSetCursor(HWND wnd, UINT hitTest, UINT message) {
    if (m_pDoc && wnd == ::GetDlgItem(m_hWnd, IDC_ABOUT_LINK) && m_pDoc->GetSettings().generic.handCursor) {
        ::SetCursor(m_pDoc->GetSettings().generic.handCursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(hitTest, message)));
}
