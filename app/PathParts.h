#pragma once
#include <string>

// A path split into drive ("C:"), directory (ending with a backslash), file title and
// extension (with its leading dot).
struct PathParts {
    std::wstring drive;
    std::wstring dir;
    std::wstring fname;
    std::wstring ext;
};

// Splits any path length; false (all parts empty) only for an empty path.
bool SplitPath(PathParts& parts, const std::wstring& path);

// Replaces a path on a mapped network drive by its UNC form; false and the path
// unchanged for a local path or one that is already a share's ("\\server\share\...").
bool GetUniversalPath(std::wstring& path);
