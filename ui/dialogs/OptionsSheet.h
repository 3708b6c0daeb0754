#pragma once

class CLarkspur2006Doc;

// What the options sheet asks of the main window: the global hot keys and the keyboard hook
// are suspended while the sheet is open, and the tray page applies the tray icon at once.
class IOptionsHost {
public:
    virtual ~IOptionsHost() = default;
    virtual void UnregisterHotKeys() = 0;
    // Registers the global hot keys from the live settings.
    virtual void RegisterHotKeys() = 0;
    // While cleared, the keyboard hook ignores local hot keys.
    virtual void SetHookEnabled(bool enabled) = 0;
    // Adds or removes the tray icon by "TaskTray.Type".
    virtual void ApplyTrayIconSetting() = 0;
};

// "設定": the seven pages, modal; the hot keys are suspended until it closes, by whatever button.
void RunOptionsSheet(CLarkspur2006Doc& doc, IOptionsHost& host);
// "バージョン情報": the About page alone; the hot keys stay as they are.
void RunAboutSheet(CLarkspur2006Doc& doc);
