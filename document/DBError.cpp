#include "document/DBError.h"
#include <windows.h>
#include <atomic>
#include <string>

const wchar_t* const kDBErrorMessage = L"データベースでエラーが起こりました。";

namespace {
std::atomic<IDBErrorSink*> g_sink{nullptr};
}

IDBErrorSink* SetDBErrorSink(IDBErrorSink* sink) {
    return g_sink.exchange(sink);
}

void ShowDBError(const wchar_t* sqliteText) { ShowDBError(kDBErrorMessage, sqliteText); }

void ShowDBError(const wchar_t* message, const wchar_t* sqliteText) {
    if (!message) message = L"";
    if (!sqliteText) sqliteText = L"";
    if (IDBErrorSink* sink = g_sink.load()) {
        sink->ShowDBError(message, sqliteText);
        return;
    }
    // Until the error dialog is installed.
    std::wstring text = std::wstring(message) + L"\r\n\r\n" + sqliteText;
    MessageBoxW(nullptr, text.c_str(), L"DB Error", MB_OK | MB_ICONEXCLAMATION);
}
