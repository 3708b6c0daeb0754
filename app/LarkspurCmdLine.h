#pragma once
#include "framework/CommandLineInfo.h"
#include <string>

// The command line names the profile: any switch with a ":" ("/p:alice", "-x:alice"); the
// text after its first ":" is the profile name and the last such switch wins. Everything
// else is ignored, and the program always starts with a new document.
class CLarkspurCmdLine : public CCommandLineInfo {
public:
    void ParseParam(const wchar_t* param, BOOL isSwitch, BOOL isLast) override;

    std::wstring profileName;
};
