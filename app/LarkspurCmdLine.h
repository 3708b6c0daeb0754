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
    std::wstring profileArgument;   // the switch that named it, as given ("/p:alice")
};

// The longest name of a file that the program keeps in a profile folder.
extern const wchar_t kLongestProfileFileName[];

// Whether `name` can be the profile folder "<program folder>users\<name>\": one plain folder
// name (no path separator, drive, "..", device name or control character, and not ending in
// a dot or a blank, which Windows would drop) short enough that every profile file's path stays
// within MAX_PATH. An empty name stands for the Windows user's and passes.
bool IsUsableProfileName(const std::wstring& name, const std::wstring& programFolder);
