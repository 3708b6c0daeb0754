#pragma once
#include <windows.h>
#include <ole2.h>

// Reads the formats that a drag-and-drop or clipboard data object offers.
class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Takes the object; with `autoRelease` it is released when detached or destroyed.
    void Attach(IDataObject* dataObject, BOOL autoRelease = TRUE);
    IDataObject* Detach();
    void Release();
    IDataObject* GetIDataObject() const { return m_pDataObject; }

    // True when the object offers `format` in global memory.
    BOOL IsDataAvailable(CLIPFORMAT format) const;
    // A copy of the data of `format` in global memory that the caller frees with GlobalFree,
    // or null when the object does not give it.
    HGLOBAL GetGlobalData(CLIPFORMAT format) const;

private:
    IDataObject* m_pDataObject = nullptr;
    BOOL m_autoRelease = FALSE;
};
