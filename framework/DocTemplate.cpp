#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/View.h"
#include "framework/WinApp.h"

std::wstring CDocTemplate::GetDocString(int index) const {
    std::wstring all = AfxLoadString(m_resourceId);
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = all.find(L'\n', start);
        if (start == std::wstring::npos) return {};
        ++start;
    }
    size_t end = all.find(L'\n', start);
    return all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, std::function<CDocument*()> newDoc,
                                       std::function<CFrameWnd*()> newFrame,
                                       std::function<CView*()> newView)
    : CDocTemplate(resourceId), m_newDoc(std::move(newDoc)), m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView)) {}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::wstring*) {
    if (m_document) return m_document;   // one document for the life of the program

    CDocument* doc = m_newDoc();
    doc->SetDocTemplate(this);
    CCreateContext context;
    context.document = doc;
    context.newView = m_newView;

    CFrameWnd* frame = m_newFrame();
    if (!frame->LoadFrame(m_resourceId, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        delete frame;   // a frame that failed to create was never attached to a window
        delete doc;
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd) app->m_pMainWnd = frame;

    m_document = doc;
    std::wstring title = GetDocString(0);
    if (!doc->OnNewDocument()) {
        // The frame owns the document from here: closing it deletes both.
        frame->DestroyWindow();
        return nullptr;
    }
    doc->SetTitle(title);
    frame->InitialUpdateFrame(doc, TRUE);
    return doc;
}
