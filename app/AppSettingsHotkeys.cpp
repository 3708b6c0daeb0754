// Section "GlobalHotkey": one entry per action code with its display name.
#include "app/AppSettings.h"
#include <cwchar>
#include <cstdlib>
#include <iterator>

namespace {

const HotKeyAction kActions[] = {
    {10, L"ウインドウの表示"},
    {11, L"ウインドウの最小化/復元切り替え"},
    {12, L"ジャケットウインドウの表示"},
    {13, L"ジャケットウインドウの表示/非表示切り替え"},
    {14, L"歌詞ウインドウの表示"},
    {15, L"歌詞ウインドウの表示/非表示切り替え"},
    {16, L"バルーンの表示"},
    {17, L"フォーカス : クエリビューに合わせる"},
    {18, L"フォーカス : グループビューに合わせる"},
    {19, L"フォーカス : プレイリストビューに合わせる"},
    {21, L"フォーカス : 検索に合わせる"},
    {22, L"メニュー : 「プレイバックメニュー」の表示"},
    {30, L"プレイバック : 停止"},
    {31, L"プレイバック : 再生/一時停止"},
    {32, L"プレイバック : 前へ"},
    {33, L"プレイバック : 次へ"},
    {34, L"シーク : 先頭へ"},
    {35, L"シーク : %d 秒前へ"},
    {36, L"シーク : %d 秒次へ"},
    {37, L"音量 : 上げる"},
    {38, L"音量 : 下げる"},
    {39, L"ミュート ON/OFF"},
    {40, L"イコライザ ON/OFF"},
    {41, L"リピート : シングル"},
    {42, L"リピート : シングルリピート"},
    {43, L"リピート : リストリピート"},
    {44, L"リピート : リスト"},
    {45, L"リピート : ランダム"},
    {46, L"リピート : トグル切り替え"},
    {47, L"トリガー : 演奏開始時のトリガー実行"},
    {48, L"トリガー : 演奏停止時のトリガー実行"},
    {70, L"クエリ : 前に戻る"},
    {71, L"クエリ : 次に進む"},
};

using GlobalHotkey = CAppSettings::GlobalHotkey;
const SettingKey<GlobalHotkey> kGlobalHotkeyKeys[] = {
    {L"Enable", &GlobalHotkey::enable, false},
};

}  // namespace

const HotKeyAction* HotKeyActionsBegin() { return std::begin(kActions); }
const HotKeyAction* HotKeyActionsEnd() { return std::end(kActions); }

// The plain keys first, then one "Hotkey.%04d" key per action.
void CAppSettings::LoadGlobalHotkey() {
    const wchar_t* s = L"GlobalHotkey";
    globalHotkey.hotKeys.clear();
    ExchangeKeys(*this, SettingsPass::Load, s, globalHotkey, kGlobalHotkeyKeys);
    for (const HotKeyAction& a : kActions) {
        wchar_t key[32];
        swprintf(key, 32, L"Hotkey.%04d", a.action);
        std::wstring value;
        GetString(value, s, key, L"");

        HotKeyEntry entry;
        entry.action = a.action;
        size_t slash = value.find(L'/');
        if (value.empty()) {
            entry.hotKey = 0;
            entry.isGlobal = true;
        } else if (slash != std::wstring::npos) {
            entry.hotKey = _wtoi(value.substr(0, slash).c_str());
            entry.isGlobal = _wtoi(value.c_str() + slash + 1) != 0;
        } else {
            entry.hotKey = _wtoi(value.c_str());
            entry.isGlobal = true;
        }
        if (a.action == 35 || a.action == 36) {
            wchar_t name[128];
            swprintf(name, 128, a.name, bass.seekSeconds);
            entry.displayName = name;
        } else {
            entry.displayName = a.name;
        }
        globalHotkey.hotKeys[a.action] = entry;
    }
}

void CAppSettings::SaveGlobalHotkey() {
    const wchar_t* s = L"GlobalHotkey";
    ExchangeKeys(*this, SettingsPass::Save, s, globalHotkey, kGlobalHotkeyKeys);
    for (const auto& item : globalHotkey.hotKeys) {
        wchar_t key[32];
        swprintf(key, 32, L"Hotkey.%04d", item.first);
        wchar_t value[40];
        swprintf(value, 40, L"%d/%d", item.second.hotKey, item.second.isGlobal ? 1 : 0);
        WriteString(s, key, value);
    }
}
