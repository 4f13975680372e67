// The document's only view: shows one segment of the image at a time in the hex-edit
// control, with the word length and byte order the user chose (kept in the profile).
#pragma once

#include "HexEditCtrl.h"

#include <wx/docview.h>
#include <wx/weakref.h>

class CCorvaneDoc;
struct CPrintInfo;
struct MemorySegment;

class CCorvaneView : public wxView
{
public:
    CCorvaneView();
    ~CCorvaneView() override;

    // Creates the control's window over the frame's whole client area; the view opens even
    // when it cannot be created.
    bool OnCreate(wxDocument* pDoc, long nFlags) override;
    // The control draws everything on screen; a printed page is drawn by OnPrint.
    void OnDraw(wxDC* pDC) override;
    // Every new, opened or reloaded document starts at its first segment.
    void OnUpdate(wxView* pSender, wxObject* pHint = nullptr) override;
    void OnChangeFilename() override;

    CCorvaneDoc* GetDocument() const;
    int GetSegmentCount() const;
    const MemorySegment* GetSegment(int nIndex) const;
    // Index of the segment shown, and the word length the dump groups it by (a stored value
    // outside 1..4 counts as it is used); the status bar reads them.
    int GetSegmentIndex() const { return m_nSegment; }
    int GetWordLen() const;
    // Null once the frame has taken the control's window down with its other children.
    const CHexEditCtrl* GetHexCtrl() const { return m_pHexCtrl.get(); }

    // Shows the segment in the control (null empties it), discarding its edits; the control
    // shares the segment's bytes until it writes to them.
    void ShowSegment(const MemorySegment* pSegment);
    // Bytes per line for a word length: whole words, at least 32 bytes from 2 bytes up.
    static int BytesPerLineFor(int nWordLen);

    void OnSize(wxSizeEvent& event);
    void OnViewBytes(wxCommandEvent& event);
    void OnViewWord16(wxCommandEvent& event);
    void OnViewNextSegment(wxCommandEvent& event);
    void OnViewPrevSegment(wxCommandEvent& event);
    void OnUpdateViewNextSegment(wxUpdateUIEvent& event);
    void OnUpdateViewPrevSegment(wxUpdateUIEvent& event);
    void OnViewWord24(wxCommandEvent& event);
    void OnViewByteOrder(wxCommandEvent& event);
    void OnUpdateViewByteOrder(wxUpdateUIEvent& event);
    void OnViewWord32(wxCommandEvent& event);

    // Printing and print preview, called by CCorvanePrintout in the print loop's order:
    // OnPreparePrinting once, OnPrepareDC and OnPrint for each page, then OnEndPrinting
    // or, for a preview, OnEndPrintPreview.
    wxPrintout* OnCreatePrintout() override;
    bool OnPreparePrinting(CPrintInfo* pInfo);
    void OnPrepareDC(wxDC* pDC, CPrintInfo* pInfo);
    void OnPrint(wxDC* pDC, wxObject* pInfo) override;
    void OnEndPrinting(wxDC* pDC, CPrintInfo* pInfo);
    void OnEndPrintPreview(wxDC* pDC, CPrintInfo* pInfo);

private:
    friend struct CShellProbe;

    // The job's printer font and its measures, from the page the job is laid out on.
    void CreatePrintFont(wxDC& dc, CPrintInfo& info);
    void DrawPage(wxDC& dc, CPrintInfo& info);
    void DrawPageHeader(wxDC& dc, const CPrintInfo& info);

    void SetWordLen(int nWordLen);
    void ShowCurrentSegment();
    void FitControl();

    // The view makes the control; once its window is the frame's child, whichever of the two
    // goes first takes it along.
    wxWeakRef<CHexEditCtrl> m_pHexCtrl;
    int m_nWordLen = 1;
    int m_nSegment = 0;
    wxWeakRef<wxWindow> m_pSizeSource;

    wxDECLARE_DYNAMIC_CLASS(CCorvaneView);
    wxDECLARE_EVENT_TABLE();
};
