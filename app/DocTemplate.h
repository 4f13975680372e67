// The single-document model: one template whose one document, one view and one main
// frame are created once and then reused for every New and Open.
#pragma once

#include <wx/docview.h>

class CMainFrame;

class CSingleDocTemplate : public wxDocTemplate
{
public:
    // Filter, extension and type names come from the document string.
    CSingleDocTemplate(wxDocManager* pManager, wxClassInfo* pDocClass, wxClassInfo* pFrameClass,
                       wxClassInfo* pViewClass);

    // An empty path makes a new document. The document, its view and the frame are
    // created the first time; a failure then takes them all down again. A failed Open of
    // the existing document leaves it as it was.
    wxDocument* OpenDocumentFile(const wxString& strPathName);

    // The view is created in the main frame, which it covers.
    wxView* CreateView(wxDocument* pDoc, long nFlags = 0) override;

    wxDocument* GetTheDocument() const;
    CMainFrame* GetFrame() const { return m_pFrame; }

private:
    wxDocument* CreateFirstDocument();
    void DestroyFirstDocument(wxDocument* pDoc);
    bool LoadDocument(wxDocument* pDoc, const wxString& strPathName);
    void InitialUpdate(wxDocument* pDoc);

    wxClassInfo* m_pFrameClass;
    CMainFrame* m_pFrame = nullptr;
};

class CSingleDocManager : public wxDocManager
{
public:
    explicit CSingleDocManager(int nMaxMRU = 4);

    // Acts on the one document: asks for a file when opening without a path.
    wxDocument* CreateDocument(const wxString& strPath, long nFlags = 0) override;
    wxString MakeNewDocumentName() override;
    // "NAME - Corvane"
    wxString MakeFrameTitle(wxDocument* pDoc) override;
    wxFileHistory* OnCreateFileHistory() override;

    CSingleDocTemplate* GetSingleTemplate() const;
    // The Open dialog; empty when cancelled.
    virtual wxString PromptOpenFileName();

private:
    void OnUpdateFileSave(wxUpdateUIEvent& event);
    void OnUpdateRecentFile(wxUpdateUIEvent& event);

    int m_nMaxMRU;

    wxDECLARE_EVENT_TABLE();
};
