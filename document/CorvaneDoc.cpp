#include "CorvaneDoc.h"

#include "HexReader.h"
#include "HexWriter.h"
#include "Resource.h"

#include <wx/filename.h>

wxIMPLEMENT_DYNAMIC_CLASS(CCorvaneDoc, wxDocument);

// clang-format off
wxBEGIN_EVENT_TABLE(CCorvaneDoc, wxDocument)
    EVT_MENU(ID_FILE_RELOAD, CCorvaneDoc::OnFileReload)
wxEND_EVENT_TABLE();
// clang-format on

CCorvaneDoc::~CCorvaneDoc()
{
    m_image.DeleteAll();
}

bool CCorvaneDoc::DeleteContents()
{
    m_image.DeleteAll();
    return wxDocument::DeleteContents();
}

bool CCorvaneDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument())
        return false;
    m_image.DeleteAll();
    return true;
}

bool CCorvaneDoc::OnOpenDocument(const wxString& strPathName)
{
    if (!OnSaveModified() || !DoOpenDocument(strPathName))
        return false;
    if (!ReadHexFile(strPathName))
        return false;
    SetTitle(wxFileNameFromPath(strPathName));
    SetFilename(strPathName, true);
    SetDocumentSaved(true);
    return true;
}

bool CCorvaneDoc::OnSaveDocument(const wxString& strPathName)
{
    if (strPathName.empty() || !WriteHexFile(m_image, strPathName.fn_str()))
        return false;
    SetDocumentSaved(true);
    return true;
}

bool CCorvaneDoc::OnCloseDocument()
{
    return wxDocument::OnCloseDocument();
}

bool CCorvaneDoc::Save()
{
    if (GetFilename().empty() || !GetDocumentSaved())
        return SaveAs();
    return OnSaveDocument(GetFilename());
}

bool CCorvaneDoc::ReadHexFile(const wxString& strPathName)
{
    MemoryImage image;
    if (!::ReadHexFile(image, strPathName.fn_str()))
        return false;
    m_image.Swap(image);
    UpdateAllViews();
    return true;
}

// A new document has no file yet: reloading it does nothing.
void CCorvaneDoc::OnFileReload(wxCommandEvent&)
{
    if (GetDocumentSaved())
        ReadHexFile(GetFilename());
}
