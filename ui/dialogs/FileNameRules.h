#pragma once
#include <string>

// Whether `name` can stand alone as the name of a file or folder inside a folder: not empty,
// none of ":", "\", "/", "*", "?", '"', "<", ">", "|" nor a control character, and not made
// only of dots. Query names and query folder names pass through it.
bool IsPlainFileName(const std::wstring& name);
