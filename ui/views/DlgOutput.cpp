#include "ui/views/DlgOutput.h"
#include "document/Larkspur2006Doc.h"
#include "framework/MessageBox.h"
#include "framework/ToolTips.h"
#include "resources/resource.h"
#include "ui/dialogs/DlgInput.h"
#include "ui/views/EqPresetNames.h"
#include <mmsystem.h>

// ---- CSliderGain -----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSliderGain, CSliderCtrl)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CSliderGain::OnCustomDraw)
END_MESSAGE_MAP()

void CSliderGain::OnCustomDraw(NMHDR* nm, LRESULT* result) {
    auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(nm);
    draw->uItemState &= ~CDIS_FOCUS;
    *result = CDRF_DODEFAULT;
}

// ---- CDlgOutput ------------------------------------------------------------------------

const int CDlgOutput::kGainIds[10] = {IDC_OUT_GAIN1, IDC_OUT_GAIN2, IDC_OUT_GAIN3, IDC_OUT_GAIN4, IDC_OUT_GAIN5,
                                      IDC_OUT_GAIN6, IDC_OUT_GAIN7, IDC_OUT_GAIN8, IDC_OUT_GAIN9, IDC_OUT_GAIN10};
const int CDlgOutput::kLabelIds[10] = {IDC_OUT_BAND1, IDC_OUT_BAND2, IDC_OUT_BAND3, IDC_OUT_BAND4, IDC_OUT_BAND5,
                                       IDC_OUT_BAND6, IDC_OUT_BAND7, IDC_OUT_BAND8, IDC_OUT_BAND9, IDC_OUT_BAND10};

BEGIN_MESSAGE_MAP(CDlgOutput, CDialog)
    ON_BN_CLICKED(IDC_OUT_CHANGE_DEVICE, &CDlgOutput::OnChangeDevice)
    ON_CONTROL(CBN_SELCHANGE, IDC_OUT_PRESET, &CDlgOutput::OnSelectPreset)
    ON_BN_CLICKED(IDC_OUT_EQ_ENABLE, &CDlgOutput::OnEqualizerSwitch)
    ON_BN_CLICKED(IDC_OUT_RESET, &CDlgOutput::OnResetGains)
    ON_BN_CLICKED(IDC_OUT_NEW_PRESET, &CDlgOutput::OnNewPreset)
    ON_BN_CLICKED(IDC_OUT_DELETE_PRESET, &CDlgOutput::OnDeletePreset)
    ON_WM_VSCROLL()
    ON_WM_DESTROY()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDlgOutput::CDlgOutput() : CDialog(IDD_OUTPUT) {}

BOOL CDlgOutput::OnInitDialog() {
    CDialog::OnInitDialog();
    UpdateControls();
    EnableToolTips(TRUE);
    for (int i = 0; i < 10; ++i) m_gains[i].SubclassDlgItem(kGainIds[i], this);
    return TRUE;
}

void CDlgOutput::OnPaint() {
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}

void CDlgOutput::OnDestroy() {
    for (auto& g : m_gains)
        if (g.m_hWnd) g.UnsubclassWindow();
    Default(WM_DESTROY, 0, 0);
}

void CDlgOutput::UpdateControls() {
    if (!m_hWnd || !m_doc) return;
    CAppSettings& s = m_doc->GetSettings();
    HWND device = ::GetDlgItem(m_hWnd, IDC_OUT_DEVICE);
    ::SendMessageW(device, CB_RESETCONTENT, 0, 0);
    auto addItem = [](HWND combo, const std::wstring& text, LPARAM data) {
        const LRESULT i = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(i), data);
    };
    addItem(device, WaveMapperName(), -1);
    addItem(device, L"No Sound", 0);
    const UINT devices = ::waveOutGetNumDevs();
    for (UINT k = 0; k < devices; ++k) {
        WAVEOUTCAPSW caps{};
        std::wstring name = ::waveOutGetDevCapsW(k, &caps, sizeof caps) == MMSYSERR_NOERROR ? caps.szPname : L"";
        addItem(device, name, static_cast<LPARAM>(k + 1));
    }
    const int count = static_cast<int>(::SendMessageW(device, CB_GETCOUNT, 0, 0));
    int selected = 0;
    for (int i = 0; i < count; ++i)
        if (static_cast<int>(::SendMessageW(device, CB_GETITEMDATA, i, 0)) == s.bass.device) selected = i;
    ::SendMessageW(device, CB_SETCURSEL, selected, 0);

    HWND rate = ::GetDlgItem(m_hWnd, IDC_OUT_RATE);
    ::SendMessageW(rate, CB_RESETCONTENT, 0, 0);
    int rateIndex = -1, index = 0;
    for (int r : {44100, 48000, 96000, 192000}) {
        addItem(rate, std::to_wstring(r), r);
        if (r == s.bass.frequency) rateIndex = index;
        ++index;
    }
    if (rateIndex < 0) {
        addItem(rate, std::to_wstring(s.bass.frequency), s.bass.frequency);
        rateIndex = index;
    }
    ::SendMessageW(rate, CB_SETCURSEL, rateIndex, 0);

    CheckDlgButton(IDC_OUT_FLOAT, s.bass.sampleFloat ? BST_CHECKED : BST_UNCHECKED);

    HWND preset = ::GetDlgItem(m_hWnd, IDC_OUT_PRESET);
    ::SendMessageW(preset, CB_RESETCONTENT, 0, 0);
    int presetIndex = 0;
    index = 0;
    for (const auto& entry : s.eq.presets) {
        ::SendMessageW(preset, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.first.c_str()));
        if (_wcsicmp(entry.first.c_str(), s.eq.selectedEq.c_str()) == 0) presetIndex = index;
        ++index;
    }
    ::SendMessageW(preset, CB_SETCURSEL, presetIndex, 0);
    OnSelectPreset();
    CheckDlgButton(IDC_OUT_EQ_ENABLE, s.bass.enableEq ? BST_CHECKED : BST_UNCHECKED);
}

std::wstring CDlgOutput::SelectedPresetName() const {
    HWND preset = ::GetDlgItem(m_hWnd, IDC_OUT_PRESET);
    const int i = static_cast<int>(::SendMessageW(preset, CB_GETCURSEL, 0, 0));
    if (i < 0) return std::wstring();
    const int length = static_cast<int>(::SendMessageW(preset, CB_GETLBTEXTLEN, i, 0));
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    ::SendMessageW(preset, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(wcslen(text.c_str()));
    return text;
}

bool CDlgOutput::ApplyEqualizerIfOn() {
    return m_doc && m_doc->GetSettings().bass.enableEq && m_doc->ApplyEqualizer();
}

void CDlgOutput::SetBandSlider(int band, float centre, float gain) {
    CSliderCtrl& slider = m_gains[band];
    HWND h = ::GetDlgItem(m_hWnd, kGainIds[band]);
    const int g = EqSliderGain(gain);
    ::SendMessageW(h, TBM_SETRANGEMIN, FALSE, -15);
    ::SendMessageW(h, TBM_SETRANGEMAX, FALSE, 15);
    ::SendMessageW(h, TBM_SETPOS, TRUE, -g);
    ::SendMessageW(h, TBM_CLEARTICS, FALSE, 0);
    ::SendMessageW(h, TBM_SETTIC, 0, -15);
    ::SendMessageW(h, TBM_SETTIC, 0, 0);
    ::SendMessageW(h, TBM_SETTIC, 0, 15);
    ::SendMessageW(h, TBM_SETTICFREQ, 15, 0);
    (void)slider;
    SetDlgItemText(kLabelIds[band], EqBandLabel(centre));
}

void CDlgOutput::OnSelectPreset() {
    if (!m_doc) return;
    CAppSettings& s = m_doc->GetSettings();
    const std::wstring name = SelectedPresetName();
    auto found = s.eq.presets.find(name);
    if (found != s.eq.presets.end())
        for (int b = 0; b < 10; ++b) SetBandSlider(b, found->second.bands[b].centre, found->second.bands[b].gain);
    s.eq.selectedEq = name;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_OUT_DELETE_PRESET), _wcsicmp(name.c_str(), L"Default") != 0);
    ApplyEqualizerIfOn();
}

void CDlgOutput::OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
    if (!m_doc) return;
    CAppSettings& s = m_doc->GetSettings();
    auto found = s.eq.presets.find(SelectedPresetName());
    if (found == s.eq.presets.end()) return;
    for (int b = 0; b < 10; ++b)
        found->second.bands[b].gain =
            -static_cast<float>(::SendMessageW(::GetDlgItem(m_hWnd, kGainIds[b]), TBM_GETPOS, 0, 0));
    ApplyEqualizerIfOn();
    CDialog::OnVScroll(code, pos, bar);
}

void CDlgOutput::OnEqualizerSwitch() {
    if (!m_doc) return;
    m_doc->GetSettings().bass.enableEq = IsDlgButtonChecked(IDC_OUT_EQ_ENABLE) == BST_CHECKED;
    m_doc->ApplyEqualizer();
}

void CDlgOutput::OnResetGains() {
    if (!m_doc) return;
    CAppSettings& s = m_doc->GetSettings();
    auto found = s.eq.presets.find(SelectedPresetName());
    if (found != s.eq.presets.end())
        for (auto& band : found->second.bands) band.gain = 0;
    for (int id : kGainIds) ::SendMessageW(::GetDlgItem(m_hWnd, id), TBM_SETPOS, TRUE, 0);
    ApplyEqualizerIfOn();
}

void CDlgOutput::OnChangeDevice() {
    if (!m_doc) return;
    CAppSettings& s = m_doc->GetSettings();
    auto itemData = [this](int id) {
        HWND combo = ::GetDlgItem(m_hWnd, id);
        const LRESULT i = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
        return i < 0 ? 0 : static_cast<int>(::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    };
    const int device = itemData(IDC_OUT_DEVICE);
    const int rate = itemData(IDC_OUT_RATE);
    const bool sampleFloat = IsDlgButtonChecked(IDC_OUT_FLOAT) == BST_CHECKED;
    if (device == s.bass.device && rate == s.bass.frequency && sampleFloat == s.bass.sampleFloat) return;
    s.bass.device = device;
    s.bass.frequency = rate;
    s.bass.sampleFloat = sampleFloat;
    if (!m_doc->ReinitBass()) UpdateControls();
}

bool CDlgOutput::ValidatePresetName(const std::wstring& name, void* presets) {
    return CheckPresetName(name, *static_cast<std::map<std::wstring, EqPreset>*>(presets)) == PresetNameOk;
}

void CDlgOutput::OnNewPreset() {
    if (!m_doc) return;
    CAppSettings& s = m_doc->GetSettings();
    std::wstring name;
    if (m_askName) {
        auto accept = [&s](const std::wstring& text) { return ValidatePresetName(text, &s.eq.presets); };
        if (!m_askName(name, accept)) return;
    } else {
        CDlgInput input(this);
        input.SetInputParams(L"新規EQ", L"", &CDlgOutput::ValidatePresetName, &s.eq.presets);
        if (input.DoModal() != IDOK) return;
        name = input.GetText();
    }
    const PresetNameCheck check = CheckPresetName(name, s.eq.presets);
    if (check != PresetNameOk) {
        AfxMessageBox(PresetNameMessage(check).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    InitEqPreset(s.eq.presets[name], 0.0f);
    UpdateControls();
}

void CDlgOutput::OnDeletePreset() {
    if (!m_doc) return;
    CAppSettings& s = m_doc->GetSettings();
    const std::wstring name = SelectedPresetName();
    const std::wstring question = name + L" を削除しますか？";
    if (AfxMessageBox(question.c_str(), MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK) return;
    if (_wcsicmp(name.c_str(), L"Default") != 0) s.eq.presets.erase(name);
    UpdateControls();
}

BOOL CDlgOutput::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm && nm->code == TTN_NEEDTEXTW) {
        auto* ttt = reinterpret_cast<NMTTDISPINFOW*>(nm);
        HWND tool = (ttt->uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(nm->idFrom) : nullptr;
        for (int id : kGainIds) {
            if (tool && ::GetDlgCtrlID(tool) == id) {
                const int pos = static_cast<int>(::SendMessageW(tool, TBM_GETPOS, 0, 0));
                AfxSetToolTipText(nm, L"Gain : " + std::to_wstring(-pos));
                *result = 0;
                return TRUE;
            }
        }
    }
    return CDialog::OnNotify(wParam, lParam, result);
}
