// The program's document: one memory image read from and written to an Intel HEX file.
// One document object lives for the whole program and is reused for every New and Open.
#pragma once

#include "MemoryImage.h"

#include <wx/docview.h>

#include <memory>

struct CHexReadStatus;

class CCorvaneDoc : public wxDocument
{
public:
    CCorvaneDoc() = default;
    ~CCorvaneDoc() override;

    bool DeleteContents() override;
    bool OnNewDocument() override;
    // The file must open and yield at least one segment; otherwise the document keeps its
    // image, path and title and the reason is reported. Whoever opens asks about unsaved
    // changes first (the template does, once).
    bool OnOpenDocument(const wxString& strPathName) override;
    // Writes the image as last read: edits made in the view's control never reach it.
    bool OnSaveDocument(const wxString& strPathName) override;
    // Writes to the document's file whenever it has one; the document never counts as
    // modified, so the framework's own Save would skip the write. After a failed Reload the
    // image shown is older than the file, so Save asks for a name instead.
    bool Save() override;
    // Asks for a name and saves under it (see SaveAsFile).
    bool SaveAs() override;
    // Saves under the name, with ".hex" added when it has no extension; on success the
    // document takes the name and the file enters the recent-file list.
    bool SaveAsFile(const wxString& strPathName);

    int GetSegmentCount() const { return m_pImage->GetCount(); }
    // Null for an index outside the image.
    const MemorySegment* GetSegment(int nIndex) const { return m_pImage->GetAt(nIndex); }
    // Keeps the image's bytes alive and unchanged while held: a read image is never changed,
    // only replaced, so the dump can show a segment's bytes without copying them.
    std::shared_ptr<const void> GetImageOwner() const { return m_pImage; }

    // Reads the file into a fresh image and, when it yields a segment, replaces the
    // document's image with it. Otherwise logs why (see ReadFailureMessage) and keeps the
    // image. A name that is not a regular file is not read at all.
    bool ReadImageFile(const wxString& strPathName);
    // Names the file and why it gave no image: the system's reason when it could not be
    // read, or that it holds no data records.
    static wxString ReadFailureMessage(const wxString& strPathName, const CHexReadStatus& status);
    // The last Reload failed: the file on disk is not what the image shows.
    bool IsReloadFailed() const { return m_bReloadFailed; }

    void OnFileReload(wxCommandEvent& event);

private:
    friend struct CShellProbe;

    std::shared_ptr<const MemoryImage> m_pImage = std::make_shared<MemoryImage>();
    bool m_bReloadFailed = false;

    wxDECLARE_DYNAMIC_CLASS(CCorvaneDoc);
    wxDECLARE_EVENT_TABLE();
};
