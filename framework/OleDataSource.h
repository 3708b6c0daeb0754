#pragma once
#include "framework/CmdTarget.h"
#include <windows.h>
#include <ole2.h>
#include <vector>

// A combination of DROPEFFECT_* values.
typedef DWORD DROPEFFECT;

// The side of a drag (or clipboard) that offers data. Formats are offered for delayed
// rendering: the data is made only when a receiver asks, through OnRenderGlobalData. The
// object may live on the stack for the length of a drag: receivers that keep its interface
// longer get nothing from it once it is gone.
// The program (or test) must have called OleInitialize on the thread.
class COleDataSource : public CCmdTarget {
public:
    COleDataSource();
    ~COleDataSource() override;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers `format` in global memory (or in the media of `formatEtc` when given), to be
    // rendered on request.
    void DelayRenderData(CLIPFORMAT format, const FORMATETC* formatEtc = nullptr);
    // Forgets every offered format.
    void Empty();

    // Runs an OLE drag of this data; the effect the target chose, or DROPEFFECT_NONE.
    DROPEFFECT DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          const RECT* startDragRect = nullptr);

    // Fills a new global memory block with the data of `formatEtc`; FALSE when this source
    // does not render it. The receiver owns the block.
    virtual BOOL OnRenderGlobalData(const FORMATETC* formatEtc, HGLOBAL* global);
    // Renders into any medium; by default global memory through OnRenderGlobalData.
    virtual BOOL OnRenderData(const FORMATETC* formatEtc, STGMEDIUM* medium);

    // The interface handed to OLE. Its holder gets its own reference.
    IDataObject* GetDataObject();
    // The formats offered, in offering order.
    const std::vector<FORMATETC>& GetOfferedFormats() const { return m_formats; }

private:
    class XDataObject;
    const FORMATETC* FindOffered(const FORMATETC* formatEtc) const;
    friend class XDataObject;

    std::vector<FORMATETC> m_formats;
    XDataObject* m_object = nullptr;   // counted; cut off from this source when it dies
};

// Every OLE drag of the program goes through the current runner, so that tests can act as
// the drop target without entering the system's drag loop.
class IDragDropRunner {
public:
    virtual ~IDragDropRunner() = default;
    // As ::DoDragDrop: the effect chosen, DROPEFFECT_NONE when cancelled.
    virtual DROPEFFECT Run(IDataObject* data, DWORD allowedEffects) = 0;
};

// Replaces the runner (null restores the system's drag loop); returns the previous one.
IDragDropRunner* AfxSetDragDropRunner(IDragDropRunner* runner);
