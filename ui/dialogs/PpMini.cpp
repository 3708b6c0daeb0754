#include "ui/dialogs/PpMini.h"
#include "app/Larkspur2006App.h"
#include "framework/MessageBox.h"
#include "resources/resource.h"
#include "ui/dialogs/OptionsSheet.h"
#include <cwchar>
#include <cwctype>

namespace {
const int kActionLists[] = {IDC_PPM_CLICK, IDC_PPM_DBLCLICK, IDC_PPM_RCLICK, IDC_PPM_MCLICK, IDC_PPM_MDBLCLICK,
                            IDC_PPM_BALLOON_CLICK};

// The text as a decimal integer: 0 when it is not a number (or too long to be one).
int ReadDecimal(const std::wstring& text) {
    const wchar_t* p = text.c_str();
    while (std::iswspace(*p)) ++p;
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(p, &end, 10);
    if (end == p) return 0;
    if (value > 0x7FFFFFFF) return 0x7FFFFFFF;
    if (value < -0x7FFFFFFF) return -0x7FFFFFFF;
    return static_cast<int>(value);
}
}  // namespace

BEGIN_MESSAGE_MAP(CPpMini, CSettingsPage)
    ON_BN_CLICKED(IDC_PPM_BALLOON, &CPpMini::OnBalloon)
    ON_CONTROL(EN_CHANGE, IDC_PPM_TIMEOUT, &CPpMini::OnTimeout)
    ON_CONTROL(EN_CHANGE, IDC_PPM_TITLE, &CPpMini::OnTitle)
    ON_CONTROL(EN_CHANGE, IDC_PPM_TEXT, &CPpMini::OnText)
END_MESSAGE_MAP()

CPpMini::CPpMini() : CSettingsPage(IDD_PP_MINI) {
    if (auto* app = dynamic_cast<CLarkspur2006App*>(AfxGetApp())) {
        m_osMajor = app->GetOsVersion().dwMajorVersion;
        m_osMinor = app->GetOsVersion().dwMinorVersion;
    }
}

CPpMini::~CPpMini() {
    if (m_gothic) ::DeleteObject(m_gothic);
}

void CPpMini::CopyFields(const CAppSettings& from, CAppSettings& to) {
    const CAppSettings::MainWindowOptions& f = from.mainWindowOptions;
    CAppSettings::MainWindowOptions& t = to.mainWindowOptions;
    t.taskTrayType = f.taskTrayType;
    t.taskTrayClick = f.taskTrayClick;
    t.taskTrayDblClick = f.taskTrayDblClick;
    t.taskTrayRClick = f.taskTrayRClick;
    t.taskTrayRDblClick = f.taskTrayRDblClick;
    t.taskTrayMClick = f.taskTrayMClick;
    t.taskTrayMDblClick = f.taskTrayMDblClick;
    t.taskTrayBalloonClick = f.taskTrayBalloonClick;
    t.infoTipEnable = f.infoTipEnable;
    t.infoTipTimeout = f.infoTipTimeout;
    t.infoTipTitle = f.infoTipTitle;
    t.infoTipText = f.infoTipText;
}

void CPpMini::LoadSettings() { CopyFields(Live(), m_settings); }

void CPpMini::ApplySettings(CAppSettings& live) { CopyFields(m_settings, live); }

int* CPpMini::ListField(int id) {
    CAppSettings::MainWindowOptions& o = m_settings.mainWindowOptions;
    switch (id) {
    case IDC_PPM_TYPE: return &o.taskTrayType;
    case IDC_PPM_CLICK: return &o.taskTrayClick;
    case IDC_PPM_DBLCLICK: return &o.taskTrayDblClick;
    case IDC_PPM_RCLICK: return &o.taskTrayRClick;
    case IDC_PPM_MCLICK: return &o.taskTrayMClick;
    case IDC_PPM_MDBLCLICK: return &o.taskTrayMDblClick;
    case IDC_PPM_BALLOON_CLICK: return &o.taskTrayBalloonClick;
    }
    return nullptr;
}

void CPpMini::FillControls() {
    const CAppSettings::MainWindowOptions o = m_settings.mainWindowOptions;
    AddItem(IDC_PPM_TYPE, L"表示しない", 0);
    AddItem(IDC_PPM_TYPE, L"常に表示", 1);
    AddItem(IDC_PPM_TYPE, L"常に表示し、最小化時にタスクバーから消す", 2);
    AddItem(IDC_PPM_TYPE, L"最小化時にタスクバーからタスクトレイに移動", 3);
    SendDlgItemMessage(IDC_PPM_TYPE, CB_SETCURSEL, 0);
    SelectData(IDC_PPM_TYPE, o.taskTrayType);

    for (int id : kActionLists) {
        SendDlgItemMessage(id, WM_SETREDRAW, FALSE);
        AddItem(id, L"何もしない", 0);
        for (const auto& entry : Live().globalHotkey.hotKeys) AddItem(id, entry.second.displayName, entry.first);
        SendDlgItemMessage(id, CB_SETCURSEL, 0);
        SelectData(id, *ListField(id));
        SendDlgItemMessage(id, WM_SETREDRAW, TRUE);
    }

    CheckDlgButton(IDC_PPM_BALLOON, o.infoTipEnable ? BST_CHECKED : BST_UNCHECKED);
    wchar_t number[16];
    std::swprintf(number, 16, L"%d", o.infoTipTimeout);
    SetDlgItemText(IDC_PPM_TIMEOUT, number);
    m_gothic = MakeGothicFont(IDC_PPM_TITLE);
    SendDlgItemMessage(IDC_PPM_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(m_gothic), TRUE);
    SendDlgItemMessage(IDC_PPM_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(m_gothic), TRUE);
    SetDlgItemText(IDC_PPM_TITLE, o.infoTipTitle);
    SetDlgItemText(IDC_PPM_TEXT, o.infoTipText);
    // Filling the edits went through their handlers: the stored values stand.
    m_settings.mainWindowOptions = o;
    if (m_osMajor == 5 && m_osMinor == 0)
        if (HWND list = ::GetDlgItem(m_hWnd, IDC_PPM_BALLOON_CLICK)) ::EnableWindow(list, FALSE);
}

BOOL CPpMini::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A new selection in any of the seven lists stores its entry's data.
    if (lParam && HIWORD(wParam) == CBN_SELCHANGE) {
        if (int* field = ListField(LOWORD(wParam))) {
            *field = SelectedData(LOWORD(wParam), *field);
            Modified();
            return TRUE;
        }
    }
    return CSettingsPage::OnCommand(wParam, lParam);
}

void CPpMini::OnBalloon() {
    m_settings.mainWindowOptions.infoTipEnable = IsChecked(IDC_PPM_BALLOON);
    Modified();
}

void CPpMini::OnTimeout() {
    m_settings.mainWindowOptions.infoTipTimeout = ReadDecimal(ItemText(IDC_PPM_TIMEOUT));
    Modified();
}

void CPpMini::OnTitle() {
    m_settings.mainWindowOptions.infoTipTitle = ItemText(IDC_PPM_TITLE);
    Modified();
}

void CPpMini::OnText() {
    m_settings.mainWindowOptions.infoTipText = ItemText(IDC_PPM_TEXT);
    Modified();
}

bool CPpMini::ValidateSettings() {
    const int timeout = m_settings.mainWindowOptions.infoTipTimeout;
    if (timeout < 1000 || timeout > 30000) {
        AfxMessageBox(L"表示時間は(1000-30000)の間で設定してください。", MB_ICONEXCLAMATION);
        if (HWND edit = ::GetDlgItem(m_hWnd, IDC_PPM_TIMEOUT)) ::SetFocus(edit);
        return false;
    }
    return true;
}

void CPpMini::AfterApply() {
    if (m_pHost) m_pHost->ApplyTrayIconSetting();
}
