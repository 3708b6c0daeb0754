#pragma once
#include "framework/CmdTarget.h"
#include <windows.h>
#include <string>
#include <vector>

class CView;
class CObject;
class CDocTemplate;

// A document with its views. UpdateAllViews calls OnUpdate on every view but the sender.
class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override;

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    const std::wstring& GetTitle() const { return m_title; }
    virtual void SetTitle(const std::wstring& title);

    // Called by the template for a new document; false fails the shell command.
    virtual BOOL OnNewDocument();
    // Called when the main frame closes.
    virtual void OnCloseDocument();

    CDocTemplate* GetDocTemplate() const { return m_template; }
    void SetDocTemplate(CDocTemplate* t) { m_template = t; }

private:
    std::vector<CView*> m_views;
    std::wstring m_title;
    CDocTemplate* m_template = nullptr;
};
