#pragma once
#include "framework/Dialog.h"
#include "support/MessageBoxRecorder.h"
#include "ui/dialogs/ImportReaders.h"
#include "ui/dialogs/PropertyRows.h"
#include <map>
#include <deque>
#include <string>
#include <vector>

namespace lib_test {

using MessageRecorder = testing_support::MessageBoxRecorder;

// A media item with a fixed set of attributes; any other name fails to read.
class FakeItem : public IWmpMediaItem {
public:
    explicit FakeItem(std::map<std::wstring, std::wstring> a) : attributes(std::move(a)) {}
    bool GetItemInfo(const wchar_t* name, std::wstring& value) override {
        auto it = attributes.find(name);
        if (it == attributes.end()) return false;
        value = it->second;
        return true;
    }
    std::map<std::wstring, std::wstring> attributes;
};

// Runs every modal dialog of its life through `script`, hidden.
class ScriptedDialogs {
public:
    explicit ScriptedDialogs(CScriptedDialogRunner::Script script) : runner(std::move(script)) {
        m_previous = AfxSetDialogRunner(&runner);
    }
    ~ScriptedDialogs() { AfxSetDialogRunner(m_previous); }
    CScriptedDialogRunner runner;

private:
    IDialogRunner* m_previous = nullptr;
};

inline void Click(CDialog& dialog, int id) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

inline bool IsEnabled(CDialog& dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

// The row with `caption` in group `group`; null when there is none.
inline const PropertyRow* FindRow(const PropertyRows& rows, const std::wstring& group, const std::wstring& caption) {
    bool inGroup = false;
    for (const PropertyRow& r : rows) {
        if (r.kind == RowGroupTitle) inGroup = r.caption == group;
        else if (inGroup && r.kind != RowGroupLine && r.caption == caption) return &r;
    }
    return nullptr;
}

inline std::wstring ValueOf(const PropertyRows& rows, const std::wstring& group, const std::wstring& caption) {
    const PropertyRow* r = FindRow(rows, group, caption);
    return r ? r->value : L"<missing>";
}

// The rows of a group other than its title and underline.
inline std::vector<PropertyRow> GroupRows(const PropertyRows& rows, const std::wstring& group) {
    std::vector<PropertyRow> out;
    bool inGroup = false;
    for (const PropertyRow& r : rows) {
        if (r.kind == RowGroupTitle) inGroup = r.caption == group;
        else if (inGroup && r.kind != RowGroupLine) out.push_back(r);
    }
    return out;
}

}  // namespace lib_test
