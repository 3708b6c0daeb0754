#pragma once
#include <string>

// Whether `name` can stand alone as the name of a file or folder inside a folder: not empty,
// none of ":", "\", "/", "*", "?", '"', "<", ">", "|" nor a control character, not made
// only of dots, and no device name (`IsReservedDeviceName`). Query names and query folder
// names pass through it.
bool IsPlainFileName(const std::wstring& name);

// Whether Windows takes the path part `name` as a device rather than a file: CON, PRN, AUX,
// NUL, COM1-COM9 and LPT1-LPT9 (also with the superscript digits 1-3), in any case, also with
// an extension ("nul.txt") and with the trailing dots and spaces Windows drops ("NUL .").
bool IsReservedDeviceName(const std::wstring& name);
