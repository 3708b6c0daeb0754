#pragma once
#include <windows.h>
#include <vector>

// Which of a frame's bars are shown, kept in the application's profile: the section
// "<name>-Summary" holds "Bars", the count, and each section "<name>-Bar<i>" holds "BarID" and
// "Visible" of one bar.
class CDockState {
public:
    struct BarInfo {
        UINT id;
        bool visible;
    };
    std::vector<BarInfo> m_bars;

    void Clear() { m_bars.clear(); }
    // False when the profile holds no state of that name. Damaged entries are skipped.
    bool LoadState(const wchar_t* name);
    void SaveState(const wchar_t* name) const;
};
