// Printing and print preview of the view: the toolkit's print loop drives the view's print
// hooks through this printout, one page at a time.
#pragma once

#include <wx/prntbase.h>
#include <wx/weakref.h>

class CCorvaneView;

// What the print loop tells the view about the job and the page being set up.
struct CPrintInfo : public wxObject
{
    bool m_bPreview = false;
    // lengths on the page are printer pixels; a preview's context is scaled down to them
    wxSize m_pageSize;
    // null while the job has no context yet
    wxDC* m_pDC = nullptr;
    int m_nCurPage = 1;
    int m_nMaxPage = 0;
    bool m_bContinuePrinting = true;

    void SetMaxPage(int nPage) { m_nMaxPage = nPage; }
};

class CCorvanePrintout : public wxPrintout
{
public:
    CCorvanePrintout(CCorvaneView* pView, const wxString& strTitle);
    // A preview ends when its printout goes, with the preview window.
    ~CCorvanePrintout() override;

    void OnPreparePrinting() override;
    void GetPageInfo(int* pMinPage, int* pMaxPage, int* pSelFrom, int* pSelTo) override;
    // A page exists while the view's page set-up lets the job continue.
    bool HasPage(int nPage) override;
    bool OnPrintPage(int nPage) override;
    void OnEndPrinting() override;

private:
    void ScaleToPage();
    bool PreparePage(int nPage);

    wxWeakRef<CCorvaneView> m_pView;
    CPrintInfo m_info;
    bool m_bPrepared = false;
};
