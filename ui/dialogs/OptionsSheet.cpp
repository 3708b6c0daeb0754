#include "ui/dialogs/OptionsSheet.h"
#include "ui/dialogs/PpAbout.h"
#include "ui/dialogs/PpDefault.h"
#include "ui/dialogs/PpGlobalHotkey.h"
#include "ui/dialogs/PpInformation.h"
#include "ui/dialogs/PpMini.h"
#include "ui/dialogs/PpVisual.h"
#include "ui/dialogs/PpWindow.h"

namespace {
// Unregisters the global hot keys and stops the hook for its life; whatever ends the sheet,
// both come back, the global keys from the live settings.
class HotKeySuspension {
public:
    explicit HotKeySuspension(IOptionsHost& host) : m_host(host) {
        m_host.UnregisterHotKeys();
        m_host.SetHookEnabled(false);
    }
    ~HotKeySuspension() {
        m_host.SetHookEnabled(true);
        m_host.RegisterHotKeys();
    }
    HotKeySuspension(const HotKeySuspension&) = delete;
    HotKeySuspension& operator=(const HotKeySuspension&) = delete;

private:
    IOptionsHost& m_host;
};
}  // namespace

void RunOptionsSheet(CLarkspur2006Doc& doc, IOptionsHost& host) {
    CPropertySheet sheet(L"設定");
    // Locals die in reverse order: the pages before the sheet.
    CPpDefault basic;
    CPpVisual visual;
    CPpInformation information;
    CPpWindow window;
    CPpMini mini;
    CPpGlobalHotkey hotkeys;
    CPpAbout about;
    for (CSettingsPage* page : std::initializer_list<CSettingsPage*>{&basic, &visual, &information, &window, &mini, &hotkeys})
        page->m_pDoc = &doc;
    mini.m_pHost = &host;
    hotkeys.m_pHost = &host;
    about.m_pDoc = &doc;
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&basic, &visual, &information, &window, &mini, &hotkeys, &about})
        sheet.AddPage(page);

    HotKeySuspension suspended(host);
    sheet.EnableStackedTabs(FALSE);
    sheet.DoModal();
}

void RunAboutSheet(CLarkspur2006Doc& doc) {
    CPropertySheet sheet(L"バージョン情報");
    CPpAbout about;
    about.m_pDoc = &doc;
    sheet.AddPage(&about);
    sheet.DoModal();
}
