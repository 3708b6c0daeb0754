#include "framework/DockState.h"
#include "framework/WinApp.h"
#include <string>

namespace {
constexpr int kMaxBars = 256;   // more than any frame has; a larger count is damage

std::wstring SummarySection(const wchar_t* name) { return std::wstring(name) + L"-Summary"; }
std::wstring BarSection(const wchar_t* name, int index) {
    return std::wstring(name) + L"-Bar" + std::to_wstring(index);
}
}  // namespace

bool CDockState::LoadState(const wchar_t* name) {
    Clear();
    CWinApp* app = AfxGetApp();
    if (!app || !name) return false;
    const int count = static_cast<int>(app->GetProfileInt(SummarySection(name).c_str(), L"Bars", -1));
    if (count < 0) return false;
    for (int i = 0; i < count && i < kMaxBars; ++i) {
        const std::wstring section = BarSection(name, i);
        const int id = static_cast<int>(app->GetProfileInt(section.c_str(), L"BarID", 0));
        if (id <= 0 || id > 0xFFFF) continue;
        const int visible = static_cast<int>(app->GetProfileInt(section.c_str(), L"Visible", 1));
        m_bars.push_back({static_cast<UINT>(id), visible != 0});
    }
    return true;
}

void CDockState::SaveState(const wchar_t* name) const {
    CWinApp* app = AfxGetApp();
    if (!app || !name) return;
    const std::wstring summary = SummarySection(name);
    // Sections of bars beyond today's count would be read back as bars: remove them.
    const int old = static_cast<int>(app->GetProfileInt(summary.c_str(), L"Bars", 0));
    for (int i = static_cast<int>(m_bars.size()); i < old && i < kMaxBars; ++i)
        app->WriteProfileString(BarSection(name, i).c_str(), nullptr, nullptr);
    app->WriteProfileInt(summary.c_str(), L"Bars", static_cast<int>(m_bars.size()));
    for (size_t i = 0; i < m_bars.size(); ++i) {
        const std::wstring section = BarSection(name, static_cast<int>(i));
        app->WriteProfileInt(section.c_str(), L"BarID", static_cast<int>(m_bars[i].id));
        app->WriteProfileInt(section.c_str(), L"Visible", m_bars[i].visible ? 1 : 0);
    }
}
