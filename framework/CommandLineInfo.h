#pragma once
#include <windows.h>
#include <string>
#include <vector>

// What the command line asks of the shell-command processing. The application parses it
// one argument at a time through ParseParam.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    virtual ~CCommandLineInfo() = default;
    // `param` is the argument without its leading "/" or "-" when `isSwitch` is set.
    virtual void ParseParam(const wchar_t* param, BOOL isSwitch, BOOL isLast);

    ShellCommand m_nShellCommand = FileNew;
    std::wstring m_strFileName;

    // Feeds every argument after the program name to ParseParam.
    void ParseArguments(const std::vector<std::wstring>& args);

protected:
    // While ParseParam runs: its argument as given, with a switch's "/" or "-".
    const std::wstring& CurrentArgument() const { return m_current; }

private:
    std::wstring m_current;
};
