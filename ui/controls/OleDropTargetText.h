#pragma once
#include "framework/OleDropTarget.h"
#include <string>

// Takes dropped text into an edit window: the whole text of the window becomes the dropped
// text. Anything that offers no text (a file, say) gets no drop cursor.
class COleDropTargetText : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, POINT point) override;
    // Sets the text and reports no effect to the source, which so keeps its own copy.
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, POINT point) override;

    // The text the data offers, UTF-16 first, else ANSI text converted; false for none.
    static bool ReadText(COleDataObject* data, std::wstring& text);
};
