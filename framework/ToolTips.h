#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

// The tool tips of framework windows: one tip control per thread, fed from the message loop.

// Offers a message taken from the queue to the tip: a mouse message over a window that shows
// tips (or one of its children) asks that window's OnToolHitTest for the tool under the
// mouse, and a bar with CBRS_FLYBY shows the tool's status prompt in its frame's message pane.
void AfxRelayToolTipMessage(const MSG* msg);

// Hides the tip and forgets the tool it was showing.
void AfxCancelToolTips();

// Hides every tip of this thread (the framework's own and those of controls such as
// toolbars) and cancels one about to show, as when the mouse leaves their tools; e.g. before a
// menu opens that a tip would cover.
void AfxHideThreadToolTips();

// Puts `text` into a TTN_NEEDTEXTW record, cut so that it and its terminator fit the record's
// buffer.
void AfxSetToolTipText(NMHDR* nm, const std::wstring& text);

// Answers TTN_NEEDTEXTW with the tip text of the tool's command (the part of its string
// after "\n"); false when the tool has no command id.
BOOL AfxDefaultToolTipText(NMHDR* nm);

// Part `index` of a string resource whose parts are separated by "\n": for a command, part 0
// is its status prompt and part 1 its tip.
std::wstring AfxLoadStringPart(UINT id, int index);
