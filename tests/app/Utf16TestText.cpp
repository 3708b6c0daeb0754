#include "Utf16TestText.h"

namespace app_test {

std::string Utf16LeBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

std::wstring Utf16FileText(const std::string& bytes) {
    if (bytes.size() < 2) return std::wstring();
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
}

}  // namespace app_test
