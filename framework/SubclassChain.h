#pragma once
#include <windows.h>
#include <commctrl.h>

// Window subclassing with the contract of SetWindowSubclass, RemoveWindowSubclass and
// DefSubclassProc: procedures keyed by (procedure, id), newest first, each passing a message on
// with DefSubclass, the window's own procedure last, removable in any order (also while they
// run). The chains are kept in memory of this process: the common controls keep theirs in a
// window property, and under Wine every property read is a call to the server, which made each
// message of a subclassed control cost a tenth of a millisecond and more.
namespace subclass_chain {

// Adds `proc` in front of the window's chain; for a pair already on it, only its data changes.
// False for a window of another thread or a window that is gone.
BOOL Set(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR ref);

// Takes the pair off; the window gets its own procedure back with the last one (unless another
// procedure was put in front of the chain since). False when the pair is not on the window.
BOOL Remove(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);

// Passes the message on to the next procedure of the chain, or to the window's own procedure.
LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace subclass_chain
