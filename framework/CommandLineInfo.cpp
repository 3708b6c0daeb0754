#include "framework/CommandLineInfo.h"

void CCommandLineInfo::ParseParam(const wchar_t* param, BOOL isSwitch, BOOL) {
    if (!isSwitch && m_strFileName.empty()) {
        m_strFileName = param;
        m_nShellCommand = FileOpen;
    }
}

void CCommandLineInfo::ParseArguments(const std::vector<std::wstring>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        const bool isSwitch = !a.empty() && (a[0] == L'/' || a[0] == L'-');
        m_current = a;
        ParseParam(isSwitch ? a.c_str() + 1 : a.c_str(), isSwitch, i + 1 == args.size());
    }
    m_current.clear();
}
