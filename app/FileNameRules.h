#pragma once
#include <string>

// Whether `name` can stand alone as the name of a file or folder inside a folder: not empty,
// none of ":", "\", "/", "*", "?", '"', "<", ">", "|" nor a control character, not made
// only of dots, and no device name (`IsReservedDeviceName`). Query names, query folder
// names and profile names pass through it.
bool IsPlainFileName(const std::wstring& name);

// The length of the device word that makes Windows take `name` (one part of a path) as a
// device rather than a file: CON, PRN, AUX, NUL, COM0-COM9 or LPT0-LPT9 (also with the
// superscript digits; the documentation reserves the 0 forms too), in any case, alone or
// followed by blanks, dots, an extension or a stream ("nul.txt", "COM1 .mp3", "NUL ."). 0 for
// a plain name.
size_t ReservedDeviceNameLength(const std::wstring& name);
bool IsReservedDeviceName(const std::wstring& name);

// Whether the last part of `path` is a device name: opening such a path opens the device
// ("C:\music\com1.mp3" is the serial port) and may never return, so it is no file to read.
bool EndsInReservedDeviceName(const std::wstring& path);
