#pragma once
#include <string>

namespace ape {
class ApeTag;
}

namespace tagReader {

// The text of a field; a field longer than the first buffer is read whole by a second try.
bool GetApeField(const ape::ApeTag& tag, const wchar_t* name, std::wstring& text);

}  // namespace tagReader
