#include "DocTemplate.h"

#include "CorvaneDoc.h"
#include "MainFrame.h"
#include "RecentFileList.h"
#include "Resource.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

namespace
{
// "Hex File (*.hex)" without its pattern: the framework appends the pattern itself.
wxString FilterDescription()
{
    return CorvaneRes::GetDocString(kFilterName).BeforeFirst('(').Trim();
}

wxString DefaultExtension()
{
    wxString strExt = CorvaneRes::GetDocString(kFilterExt);
    return strExt.StartsWith(".") ? strExt.Mid(1) : strExt;
}

bool IsSameFile(const wxString& strA, const wxString& strB)
{
    return wxFileName(strA).SameAs(wxFileName(strB));
}
} // namespace

CSingleDocTemplate::CSingleDocTemplate(wxDocManager* pManager, wxClassInfo* pDocClass,
                                       wxClassInfo* pFrameClass, wxClassInfo* pViewClass)
    : wxDocTemplate(pManager, FilterDescription(), CorvaneRes::kFilePatterns, wxString(),
                    DefaultExtension(), CorvaneRes::GetDocString(kRegFileTypeId),
                    CorvaneRes::GetDocString(kRegFileTypeName), pDocClass, pViewClass),
      m_pFrameClass(pFrameClass)
{
}

wxDocument* CSingleDocTemplate::GetTheDocument() const
{
    for (wxObject* pObject : GetDocumentManager()->GetDocuments())
    {
        auto* pDoc = static_cast<wxDocument*>(pObject);
        if (pDoc->GetDocumentTemplate() == this)
            return pDoc;
    }
    return nullptr;
}

wxDocument* CSingleDocTemplate::OpenDocumentFile(const wxString& strPathName)
{
    wxDocument* pDoc = GetTheDocument();
    const bool bCreated = pDoc == nullptr;
    if (pDoc && !pDoc->OnSaveModified())
        return nullptr;
    if (bCreated && (pDoc = CreateFirstDocument()) == nullptr)
        return nullptr;
    if (!LoadDocument(pDoc, strPathName))
    {
        if (bCreated)
            DestroyFirstDocument(pDoc);
        return nullptr;
    }
    InitialUpdate(pDoc);
    return pDoc;
}

wxView* CSingleDocTemplate::CreateView(wxDocument* pDoc, long nFlags)
{
    wxView* pView = DoCreateView();
    if (pView == nullptr)
        return nullptr;
    pView->SetDocument(pDoc);
    pView->SetFrame(m_pFrame);
    if (!pView->OnCreate(pDoc, nFlags))
    {
        delete pView;
        return nullptr;
    }
    return pView;
}

wxDocument* CSingleDocTemplate::CreateFirstDocument()
{
    if (m_pFrame == nullptr)
    {
        auto* pFrame = wxDynamicCast(m_pFrameClass->CreateObject(), CMainFrame);
        if (pFrame == nullptr)
            return nullptr;
        if (!pFrame->LoadFrame(GetDocumentManager()))
        {
            if (pFrame->GetHandle() == nullptr)
                delete pFrame;
            return nullptr;
        }
        m_pFrame = pFrame;
    }
    wxDocument* pDoc = DoCreateDocument();
    if (pDoc == nullptr)
        return nullptr;
    pDoc->SetDocumentTemplate(this);
    pDoc->SetDocumentName(GetDocumentName());
    GetDocumentManager()->AddDocument(pDoc);
    if (!pDoc->OnCreate(wxString(), 0))
    {
        DestroyFirstDocument(pDoc);
        return nullptr;
    }
    return pDoc;
}

// Takes down what the first New or Open created: the document, its view and the frame.
void CSingleDocTemplate::DestroyFirstDocument(wxDocument* pDoc)
{
    if (GetDocumentManager()->GetDocuments().Member(pDoc))
        pDoc->DeleteAllViews();
    if (m_pFrame)
        m_pFrame->Destroy();
    m_pFrame = nullptr;
}

bool CSingleDocTemplate::LoadDocument(wxDocument* pDoc, const wxString& strPathName)
{
    if (strPathName.empty())
        return pDoc->OnNewDocument();
    if (!pDoc->OnOpenDocument(strPathName))
        return false;
    GetDocumentManager()->AddFileToHistory(strPathName);
    return true;
}

// As after the framework creates a view: the view shows the document from its start.
void CSingleDocTemplate::InitialUpdate(wxDocument* pDoc)
{
    wxView* pView = pDoc->GetFirstView();
    if (pView == nullptr)
        return;
    pView->OnUpdate(nullptr);
    pView->Activate(true);
}

// clang-format off
wxBEGIN_EVENT_TABLE(CSingleDocManager, wxDocManager)
    EVT_UPDATE_UI(wxID_SAVE, CSingleDocManager::OnUpdateFileSave)
    EVT_UPDATE_UI_RANGE(wxID_FILE1, wxID_FILE9, CSingleDocManager::OnUpdateRecentFile)
wxEND_EVENT_TABLE();
// clang-format on

CSingleDocManager::CSingleDocManager(int nMaxMRU) : wxDocManager(0, false), m_nMaxMRU(nMaxMRU)
{
    Initialize();
}

CSingleDocTemplate* CSingleDocManager::GetSingleTemplate() const
{
    wxList& templates = const_cast<CSingleDocManager*>(this)->GetTemplates();
    for (wxObject* pObject : templates)
    {
        if (auto* pTemplate = dynamic_cast<CSingleDocTemplate*>(pObject))
            return pTemplate;
    }
    return nullptr;
}

wxDocument* CSingleDocManager::CreateDocument(const wxString& strPath, long nFlags)
{
    CSingleDocTemplate* pTemplate = GetSingleTemplate();
    if (pTemplate == nullptr)
        return nullptr;
    if (nFlags & wxDOC_NEW)
        return pTemplate->OpenDocumentFile(wxString());
    wxString strFile = strPath.empty() ? PromptOpenFileName() : strPath;
    if (strFile.empty())
        return nullptr;
    // the recent-file list must name the file from whatever folder the program starts in;
    // with the working folder gone a relative name is opened as given, and fails
    if (wxFileName name(strFile); name.MakeAbsolute())
        strFile = name.GetFullPath();
    // as for any open document: the file already shown is not read again, unless a
    // reload of it failed and the image shown is no longer what it holds
    wxDocument* pDoc = pTemplate->GetTheDocument();
    auto* pHexDoc = wxDynamicCast(pDoc, CCorvaneDoc);
    if (pDoc && pDoc->GetDocumentSaved() && IsSameFile(pDoc->GetFilename(), strFile) &&
        !(pHexDoc && pHexDoc->IsReloadFailed()))
        return pDoc;
    return pTemplate->OpenDocumentFile(strFile);
}

wxString CSingleDocManager::PromptOpenFileName()
{
    CSingleDocTemplate* pTemplate = GetSingleTemplate();
    if (pTemplate == nullptr)
        return wxString();
    const wxString strFilter = pTemplate->GetDescription() + " (" + pTemplate->GetFileFilter() +
                               ")|" + pTemplate->GetFileFilter() + "|All Files (*.*)|*";
    wxFileDialog dlg(pTemplate->GetFrame(), _("Open"), GetLastDirectory(), wxString(), strFilter,
                     wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK)
        return wxString();
    SetLastDirectory(dlg.GetDirectory());
    return dlg.GetPath();
}

wxString CSingleDocManager::MakeNewDocumentName()
{
    return "Untitled";
}

wxString CSingleDocManager::MakeFrameTitle(wxDocument* pDoc)
{
    const wxString strApp = CorvaneRes::GetDocString(kWindowTitle);
    return pDoc ? pDoc->GetUserReadableName() + " - " + strApp : strApp;
}

wxFileHistory* CSingleDocManager::OnCreateFileHistory()
{
    return new CRecentFileList(m_nMaxMRU);
}

void CSingleDocManager::OnUpdateFileSave(wxUpdateUIEvent& event)
{
    event.Enable(GetCurrentDocument() != nullptr);
}

void CSingleDocManager::OnUpdateRecentFile(wxUpdateUIEvent& event)
{
    event.Enable(event.GetId() - wxID_FILE1 < static_cast<int>(GetHistoryFilesCount()));
}
