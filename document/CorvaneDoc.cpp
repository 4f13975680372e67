#include "CorvaneDoc.h"

#include "CommandIds.h"
#include "HexReader.h"
#include "HexWriter.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/msgdlg.h>

namespace
{
// The document type's extension, added to a chosen name that has none.
wxString WithDefaultExtension(const wxString& strPathName, const wxString& strExt)
{
    if (strExt.empty() || wxFileName(strPathName).HasExt())
        return strPathName;
    return strPathName + "." + strExt;
}
} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CCorvaneDoc, wxDocument);

// clang-format off
wxBEGIN_EVENT_TABLE(CCorvaneDoc, wxDocument)
    EVT_MENU(ID_FILE_RELOAD, CCorvaneDoc::OnFileReload)
wxEND_EVENT_TABLE();
// clang-format on

CCorvaneDoc::~CCorvaneDoc() = default;

bool CCorvaneDoc::DeleteContents()
{
    m_pImage = std::make_shared<MemoryImage>();
    return wxDocument::DeleteContents();
}

bool CCorvaneDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument())
        return false;
    m_pImage = std::make_shared<MemoryImage>();
    m_bReloadFailed = false;
    return true;
}

bool CCorvaneDoc::OnOpenDocument(const wxString& strPathName)
{
    if (!ReadImageFile(strPathName))
        return false;
    m_bReloadFailed = false;
    SetTitle(wxFileName(strPathName).GetFullName());
    SetFilename(strPathName, true);
    SetDocumentSaved(true);
    return true;
}

bool CCorvaneDoc::OnSaveDocument(const wxString& strPathName)
{
    if (strPathName.empty())
        return false;
    if (!WriteHexFile(*m_pImage, strPathName.fn_str()))
    {
        wxLogError(_("Failed to save document to the file \"%s\"."), strPathName);
        return false;
    }
    SetDocumentSaved(true);
    return true;
}

bool CCorvaneDoc::Save()
{
    if (GetFilename().empty() || !GetDocumentSaved() || m_bReloadFailed)
        return SaveAs();
    return OnSaveDocument(GetFilename());
}

bool CCorvaneDoc::SaveAs()
{
    wxDocTemplate* pTemplate = GetDocumentTemplate();
    if (pTemplate == nullptr)
        return false;
    const wxString strFilter = pTemplate->GetDescription() + " (" + pTemplate->GetFileFilter() +
                               ")|" + pTemplate->GetFileFilter();
    wxString strDir = wxPathOnly(GetFilename());
    if (strDir.empty() && GetDocumentManager())
        strDir = GetDocumentManager()->GetLastDirectory();
    const wxString strFile =
        wxFileSelector(_("Save As"), strDir, wxFileName(GetFilename()).GetFullName(),
                       pTemplate->GetDefaultExtension(), strFilter,
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT, GetDocumentWindow());
    if (strFile.empty())
        return false;
    const wxString strTarget = WithDefaultExtension(strFile, pTemplate->GetDefaultExtension());
    // the dialog asked about the name as typed, not about the one with the extension
    if (strTarget != strFile && wxFileExists(strTarget) &&
        wxMessageBox(wxString::Format(_("%s already exists.\nDo you want to replace it?"),
                                      wxFileName(strTarget).GetFullName()),
                     _("Save As"), wxYES_NO | wxICON_WARNING, GetDocumentWindow()) != wxYES)
        return false;
    return SaveAsFile(strTarget);
}

bool CCorvaneDoc::SaveAsFile(const wxString& strPathName)
{
    wxDocTemplate* pTemplate = GetDocumentTemplate();
    wxFileName name(WithDefaultExtension(strPathName, pTemplate ? pTemplate->GetDefaultExtension()
                                                                : wxString()));
    // the document keeps its name for later saves: a relative one whose folder cannot be
    // told any more (the working folder is gone) is refused
    const bool bPlaced = name.MakeAbsolute();
    const wxString strFile = name.GetFullPath();
    if (!bPlaced)
        wxLogError(_("Failed to save document to the file \"%s\"."), strFile);
    if (!bPlaced || !OnSaveDocument(strFile))
        return false;
    m_bReloadFailed = false;
    SetTitle(wxFileName(strFile).GetFullName());
    SetFilename(strFile, true);
    if (GetDocumentManager())
        GetDocumentManager()->AddFileToHistory(strFile);
    return true;
}

bool CCorvaneDoc::ReadImageFile(const wxString& strPathName)
{
    auto pImage = std::make_shared<MemoryImage>();
    CHexReadStatus status;
    const bool bRead = ::ReadHexFile(*pImage, strPathName.fn_str(), &status);
    // A read that failed part-way leaves only the start of the file; shown, a later Save
    // would write that start over the whole file, so it is refused like a missing file.
    if (!bRead || status.bReadError)
    {
        wxLogError("%s", ReadFailureMessage(strPathName, status));
        return false;
    }
    m_pImage = std::move(pImage);
    return true;
}

wxString CCorvaneDoc::ReadFailureMessage(const wxString& strPathName, const CHexReadStatus& status)
{
    wxString strReason;
    switch (status.eOpen)
    {
    case CHexReadStatus::EOpen::CannotOpen:
        strReason = wxSysErrorMsgStr(status.nErrno);
        break;
    // a pipe or device would block the window or never end
    case CHexReadStatus::EOpen::NotRegularFile:
        strReason = _("not a regular file");
        break;
    case CHexReadStatus::EOpen::Opened:
        // records that did not fit in memory would be lost by a later Save
        if (status.bOutOfMemory)
            return wxString::Format(_("not enough memory to read \"%s\""), strPathName);
        if (!status.bReadError)
            return wxString::Format(_("File \"%s\" holds no Intel HEX data records."), strPathName);
        strReason = _("reading it failed part-way");
        break;
    }
    return wxString::Format(_("File \"%s\" could not be read: %s."), strPathName, strReason);
}

// A new document has no file yet: reloading it does nothing. The views show the new
// image once it is read; opening leaves that to the first update. A failed reload keeps
// the image shown, which the file on disk no longer holds.
void CCorvaneDoc::OnFileReload(wxCommandEvent&)
{
    if (!GetDocumentSaved())
        return;
    m_bReloadFailed = !ReadImageFile(GetFilename());
    if (!m_bReloadFailed)
        UpdateAllViews();
}
