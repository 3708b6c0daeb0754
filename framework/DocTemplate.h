#pragma once
#include <windows.h>
#include <functional>
#include <string>

class CDocument;
class CFrameWnd;
class CView;

// What a frame needs to create its views for a document.
struct CCreateContext {
    CDocument* document = nullptr;
    std::function<CView*()> newView;
};

// Creates the document, the frame and the view of a document kind.
class CDocTemplate {
public:
    virtual ~CDocTemplate() = default;
    // Creates a new document (no file) or opens `path`; null on failure.
    virtual CDocument* OpenDocumentFile(const std::wstring* path) = 0;
    UINT GetResourceId() const { return m_resourceId; }
    // A piece of the template string (pieces separated by "\n"): 0 window title, 1 document name, ...
    std::wstring GetDocString(int index) const;

protected:
    explicit CDocTemplate(UINT resourceId) : m_resourceId(resourceId) {}
    UINT m_resourceId;
};

// One document at a time, in one frame with one view.
class CSingleDocTemplate : public CDocTemplate {
public:
    template <class Doc, class Frame, class View>
    static CSingleDocTemplate* Create(UINT resourceId) {
        return new CSingleDocTemplate(
            resourceId, [] { return static_cast<CDocument*>(new Doc); },
            [] { return static_cast<CFrameWnd*>(new Frame); }, [] { return static_cast<CView*>(new View); });
    }

    CSingleDocTemplate(UINT resourceId, std::function<CDocument*()> newDoc,
                       std::function<CFrameWnd*()> newFrame, std::function<CView*()> newView);
    CDocument* OpenDocumentFile(const std::wstring* path) override;
    CDocument* GetDocument() const { return m_document; }
    void DocumentClosed(CDocument* doc) { if (m_document == doc) m_document = nullptr; }

private:
    std::function<CDocument*()> m_newDoc;
    std::function<CFrameWnd*()> m_newFrame;
    std::function<CView*()> m_newView;
    CDocument* m_document = nullptr;
};
