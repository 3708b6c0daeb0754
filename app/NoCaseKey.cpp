#include "app/NoCaseKey.h"
#include <atomic>
#include <clocale>
#include <cwctype>
#include <mutex>
#include <string>

namespace {

// towlower of every code unit, filled on first use; 0 means not yet asked (only the NUL
// folds to 0, and the NUL ends a key).
std::atomic<unsigned short> g_folded[0x10000];
std::mutex g_localeLock;
std::string g_locale;
unsigned g_generation = 0;

wchar_t Folded(wchar_t c) {
    const unsigned index = static_cast<unsigned short>(c);
    unsigned short value = g_folded[index].load(std::memory_order_relaxed);
    if (value == 0) {
        value = static_cast<unsigned short>(towlower(static_cast<wint_t>(index)));
        g_folded[index].store(value, std::memory_order_relaxed);
    }
    return static_cast<wchar_t>(value);
}

}  // namespace

unsigned NoCaseKeyGeneration() {
    std::lock_guard<std::mutex> hold(g_localeLock);
    const char* name = setlocale(LC_CTYPE, nullptr);
    const std::string current = name ? name : "";
    if (current != g_locale) {
        g_locale = current;
        for (auto& entry : g_folded) entry.store(0, std::memory_order_relaxed);
        ++g_generation;
    }
    return g_generation;
}

void AppendNoCaseKey(const wchar_t* text, size_t length, std::vector<wchar_t>& out) {
    for (size_t i = 0; i < length && text[i] != L'\0'; ++i) out.push_back(Folded(text[i]));
}
