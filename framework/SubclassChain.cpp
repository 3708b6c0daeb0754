#include "framework/SubclassChain.h"
#include <list>
#include <unordered_map>

namespace subclass_chain {
namespace {

struct Entry {
    SUBCLASSPROC proc;
    UINT_PTR id;
    DWORD_PTR ref;
    bool removed;
};

struct Chain {
    WNDPROC original = nullptr;
    std::list<Entry> entries;   // newest first; taken-off entries stay until the chain is idle
    Entry* next = nullptr;      // what DefSubclass calls now; none: the window's own procedure
    int running = 0;            // calls of the chain under way on the window's thread
    bool destroyed = false;     // WM_NCDESTROY has gone through
};

SRWLOCK g_lock = SRWLOCK_INIT;

std::unordered_map<HWND, Chain*>& Chains() {
    static auto* chains = new std::unordered_map<HWND, Chain*>;   // outlives every window
    return *chains;
}

Chain* Find(HWND hwnd) {
    ::AcquireSRWLockShared(&g_lock);
    auto found = Chains().find(hwnd);
    Chain* chain = found != Chains().end() ? found->second : nullptr;
    ::ReleaseSRWLockShared(&g_lock);
    return chain;
}

void Forget(HWND hwnd, Chain* chain) {
    ::AcquireSRWLockExclusive(&g_lock);
    auto found = Chains().find(hwnd);
    if (found != Chains().end() && found->second == chain) Chains().erase(found);
    ::ReleaseSRWLockExclusive(&g_lock);
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The first entry still on the chain from `from` on (from the front for none).
Entry* FirstLive(Chain& chain, Entry* from) {
    auto it = chain.entries.begin();
    if (from) {
        while (it != chain.entries.end() && &*it != from) ++it;
    }
    for (; it != chain.entries.end(); ++it)
        if (!it->removed) return &*it;
    return nullptr;
}

// The entry after `entry` on the chain, taken off or not; null after the last.
Entry* After(Chain& chain, Entry* entry) {
    for (auto it = chain.entries.begin(); it != chain.entries.end(); ++it)
        if (&*it == entry) return ++it == chain.entries.end() ? nullptr : &*it;
    return nullptr;
}

// Once nothing of the chain runs: drops taken-off entries, and the chain itself when the window
// is gone or when it holds nothing and its procedure is still the window's.
void Tidy(HWND hwnd, Chain* chain) {
    if (chain->running > 0) return;
    chain->entries.remove_if([](const Entry& e) { return e.removed; });
    if (chain->destroyed) {
        Forget(hwnd, chain);
        delete chain;
        return;
    }
    if (chain->entries.empty() &&
        ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ChainProc)) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
        Forget(hwnd, chain);
        delete chain;
    }
}

LRESULT CallNext(HWND hwnd, Chain& chain, UINT msg, WPARAM wParam, LPARAM lParam) {
    Entry* const saved = chain.next;
    Entry* entry = saved ? FirstLive(chain, saved) : nullptr;
    LRESULT result = 0;
    if (!entry) {
        result = ::CallWindowProcW(chain.original, hwnd, msg, wParam, lParam);
    } else {
        chain.next = After(chain, entry);
        result = entry->proc(hwnd, msg, wParam, lParam, entry->id, entry->ref);
    }
    chain.next = saved;   // a procedure may pass the same message on more than once
    return result;
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Chain* chain = Find(hwnd);
    if (!chain) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    ++chain->running;
    Entry* const saved = chain->next;
    chain->next = FirstLive(*chain, nullptr);
    const LRESULT result = CallNext(hwnd, *chain, msg, wParam, lParam);
    chain->next = saved;
    if (msg == WM_NCDESTROY) chain->destroyed = true;
    --chain->running;
    Tidy(hwnd, chain);
    return result;
}

}  // namespace

BOOL Set(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR ref) {
    if (!proc || !::IsWindow(hwnd) || ::GetWindowThreadProcessId(hwnd, nullptr) != ::GetCurrentThreadId())
        return FALSE;
    Chain* chain = Find(hwnd);
    if (chain && chain->destroyed) chain = nullptr;   // a handle used again while the old chain ends
    if (!chain) {
        chain = new Chain;
        chain->original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
        ::AcquireSRWLockExclusive(&g_lock);
        Chains()[hwnd] = chain;
        ::ReleaseSRWLockExclusive(&g_lock);
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc));
    }
    for (Entry& e : chain->entries) {
        if (!e.removed && e.proc == proc && e.id == id) {
            e.ref = ref;
            return TRUE;
        }
    }
    chain->entries.push_front(Entry{proc, id, ref, false});
    return TRUE;
}

BOOL Remove(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    Chain* chain = Find(hwnd);
    if (!chain) return FALSE;
    for (Entry& e : chain->entries) {
        if (!e.removed && e.proc == proc && e.id == id) {
            e.removed = true;
            Tidy(hwnd, chain);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Chain* chain = Find(hwnd);
    if (!chain) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    ++chain->running;
    const LRESULT result = CallNext(hwnd, *chain, msg, wParam, lParam);
    --chain->running;
    Tidy(hwnd, chain);
    return result;
}

}  // namespace subclass_chain
