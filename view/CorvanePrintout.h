// Printing and print preview of the view: the toolkit's print loop drives the view's print
// hooks through this printout, one page at a time. The job's state lives here, not in the view.
#pragma once

#include <wx/font.h>
#include <wx/prntbase.h>
#include <wx/weakref.h>

class CCorvaneView;

// What the print loop tells the view about the job and the page being set up, and what the
// view works out for the job on its first page.
struct CPrintInfo : public wxObject
{
    bool m_bPreview = false;
    // The area inside the margins in printer pixels; the context's origin is its top left
    // corner, also on a preview's context, which is scaled down to printer pixels.
    wxSize m_pageSize;
    // null while the job has no context yet
    wxDC* m_pDC = nullptr;
    int m_nCurPage = 1;
    int m_nMaxPage = 0;
    bool m_bContinuePrinting = true;

    // The printer font, from the job's first page set-up until the job ends.
    wxFont m_font;
    // Height and ascent of a line of text in that font.
    int m_nLineHeight = 0;
    int m_nAscent = 0;
    // Dump lines are a pixel further apart than the text is high.
    int GetLinePitch() const { return m_nLineHeight + 1; }
    // 40 until the job has a context to measure its page with
    int m_nLinesPerPage = 40;
    // Byte offset, from the start of the segment, of the first line of the page.
    int m_nOffset = 0;

    void SetMaxPage(int nPage) { m_nMaxPage = nPage; }
};

class CCorvanePrintout : public wxPrintout
{
public:
    // GTK's default page set-up keeps this far from the sheet's edge (a quarter inch).
    static constexpr double kMinMarginMM = 6.35;

    CCorvanePrintout(CCorvaneView* pView, const wxString& strTitle);
    // A preview ends when its printout goes, with the preview window.
    ~CCorvanePrintout() override;

    void OnPreparePrinting() override;
    void GetPageInfo(int* pMinPage, int* pMaxPage, int* pSelFrom, int* pSelTo) override;
    // A page exists while the view's page set-up lets the job continue.
    bool HasPage(int nPage) override;
    bool OnPrintPage(int nPage) override;
    void OnEndPrinting() override;

    const CPrintInfo& GetInfo() const { return m_info; }

    // The area a page is laid out in, in printer pixels from the printable area's top left:
    // inside the printable area and at least kMinMarginMM from the sheet's edge. rcPaper is
    // the sheet in the same coordinates; empty, the printable area is the whole sheet (as
    // GTK reports it for every printer, a file as much as a real one).
    static wxRect MarginRect(const wxRect& rcPaper, const wxSize& printable, const wxSize& ppi);

private:
    void PrepareDC();
    bool PreparePage(int nPage);

    wxWeakRef<CCorvaneView> m_pView;
    CPrintInfo m_info;
    bool m_bPrepared = false;
    // the page HasPage set up, until it is printed
    int m_nPreparedPage = 0;
};
