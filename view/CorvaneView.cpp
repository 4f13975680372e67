#include "CorvaneView.h"

#include "CorvaneDoc.h"
#include "Profile.h"
#include "Resource.h"

#include <algorithm>

namespace
{
const char* const kSection = "view";
const char* const kWordLenEntry = "wordlen";
const char* const kByteOrderEntry = "byteorder";
// The control draws words of at most this many bytes.
constexpr int kMaxWordLen = 4;
} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CCorvaneView, wxView);

// clang-format off
wxBEGIN_EVENT_TABLE(CCorvaneView, wxView)
    EVT_MENU(ID_VIEW_BYTES, CCorvaneView::OnViewBytes)
    EVT_MENU(ID_VIEW_WORD16, CCorvaneView::OnViewWord16)
    EVT_MENU(ID_VIEW_NEXT_SEGMENT, CCorvaneView::OnViewNextSegment)
    EVT_MENU(ID_VIEW_PREV_SEGMENT, CCorvaneView::OnViewPrevSegment)
    EVT_UPDATE_UI(ID_VIEW_NEXT_SEGMENT, CCorvaneView::OnUpdateViewNextSegment)
    EVT_UPDATE_UI(ID_VIEW_PREV_SEGMENT, CCorvaneView::OnUpdateViewPrevSegment)
    EVT_MENU(ID_VIEW_WORD24, CCorvaneView::OnViewWord24)
    EVT_MENU(ID_VIEW_BYTEORDER, CCorvaneView::OnViewByteOrder)
    EVT_UPDATE_UI(ID_VIEW_BYTEORDER, CCorvaneView::OnUpdateViewByteOrder)
    EVT_MENU(ID_VIEW_WORD32, CCorvaneView::OnViewWord32)
wxEND_EVENT_TABLE();
// clang-format on

CCorvaneView::CCorvaneView() : m_pHexCtrl(new CHexEditCtrl)
{
    m_nWordLen = GetProfileInt(kSection, kWordLenEntry, 1);
    m_pHexCtrl->SetByteOrder(GetProfileInt(kSection, kByteOrderEntry, 0));
}

CCorvaneView::~CCorvaneView()
{
    if (m_pSizeSource)
        m_pSizeSource->Unbind(wxEVT_SIZE, &CCorvaneView::OnSize, this);
    delete m_pHexCtrl.get();
}

bool CCorvaneView::OnCreate(wxDocument* pDoc, long nFlags)
{
    if (!wxView::OnCreate(pDoc, nFlags))
        return false;
    wxWindow* pFrame = GetFrame();
    if (pFrame == nullptr)
        return true;
    m_pHexCtrl->Create("hexEd", 0, wxRect(), pFrame, IDC_HEXEDIT);
    m_pHexCtrl->SetAddressDigits(8);
    m_pSizeSource = pFrame;
    pFrame->Bind(wxEVT_SIZE, &CCorvaneView::OnSize, this);
    FitControl();
    return true;
}

void CCorvaneView::OnUpdate(wxView*, wxObject*)
{
    m_nSegment = 0;
    ShowCurrentSegment();
}

void CCorvaneView::OnChangeFilename()
{
    wxWindow* pFrame = GetFrame();
    wxDocument* pDoc = wxView::GetDocument();
    if (pFrame && pDoc && pDoc->GetDocumentManager())
        pFrame->SetLabel(pDoc->GetDocumentManager()->MakeFrameTitle(pDoc));
}

CCorvaneDoc* CCorvaneView::GetDocument() const
{
    return wxDynamicCast(wxView::GetDocument(), CCorvaneDoc);
}

int CCorvaneView::GetSegmentCount() const
{
    const CCorvaneDoc* pDoc = GetDocument();
    return pDoc ? pDoc->GetSegmentCount() : 0;
}

const MemorySegment* CCorvaneView::GetSegment(int nIndex) const
{
    const CCorvaneDoc* pDoc = GetDocument();
    return pDoc ? pDoc->GetSegment(nIndex) : nullptr;
}

void CCorvaneView::ShowSegment(const MemorySegment* pSegment)
{
    if (pSegment == nullptr)
    {
        m_pHexCtrl->SetData(nullptr, 0);
        return;
    }
    // only an edited profile holds a value outside 1..4
    m_nWordLen = std::clamp(m_nWordLen, 1, kMaxWordLen);
    m_pHexCtrl->SetAddressInfo(static_cast<int>(pSegment->m_dwAddress / unsigned(m_nWordLen)),
                               m_nWordLen);
    // the width goes first so that the repaint after the data already draws the new layout
    m_pHexCtrl->SetBytesPerLine(BytesPerLineFor(m_nWordLen));
    // the control shares the segment's bytes, holding the document's image alive: a Reload
    // replaces the image, it never changes the one shown
    const CCorvaneDoc* pDoc = GetDocument();
    m_pHexCtrl->ShareData(pSegment->m_pBytes, pSegment->m_nSize,
                          pDoc ? pDoc->GetImageOwner() : nullptr);
}

int CCorvaneView::GetWordLen() const
{
    return std::clamp(m_nWordLen, 1, kMaxWordLen);
}

int CCorvaneView::BytesPerLineFor(int nWordLen)
{
    if (nWordLen <= 1)
        return 16;
    return (32 + nWordLen - 1) / nWordLen * nWordLen;
}

// An emptied control is not repainted by the control itself. A segment just shown is where
// the user types next, whatever had the keyboard focus before.
void CCorvaneView::ShowCurrentSegment()
{
    ShowSegment(GetSegment(m_nSegment));
    if (!m_pHexCtrl || !m_pHexCtrl->GetHandle())
        return;
    m_pHexCtrl->Refresh();
    if (m_pHexCtrl->IsShownOnScreen())
        m_pHexCtrl->SetFocus();
}

void CCorvaneView::FitControl()
{
    if (m_pHexCtrl && m_pHexCtrl->GetHandle() && m_pSizeSource)
        m_pHexCtrl->SetSize(wxRect(wxPoint(0, 0), m_pSizeSource->GetClientSize()));
}

void CCorvaneView::OnSize(wxSizeEvent& event)
{
    event.Skip();
    FitControl();
}

void CCorvaneView::SetWordLen(int nWordLen)
{
    m_nWordLen = nWordLen;
    ShowCurrentSegment();
    WriteProfileInt(kSection, kWordLenEntry, nWordLen);
}

void CCorvaneView::OnViewBytes(wxCommandEvent&)
{
    SetWordLen(1);
}

void CCorvaneView::OnViewWord16(wxCommandEvent&)
{
    SetWordLen(2);
}

void CCorvaneView::OnViewWord24(wxCommandEvent&)
{
    SetWordLen(3);
}

void CCorvaneView::OnViewWord32(wxCommandEvent&)
{
    SetWordLen(4);
}

void CCorvaneView::OnViewNextSegment(wxCommandEvent&)
{
    if (m_nSegment + 1 >= GetSegmentCount())
        return;
    m_nSegment++;
    ShowCurrentSegment();
}

void CCorvaneView::OnViewPrevSegment(wxCommandEvent&)
{
    if (m_nSegment <= 0)
        return;
    m_nSegment--;
    ShowCurrentSegment();
}

void CCorvaneView::OnUpdateViewNextSegment(wxUpdateUIEvent& event)
{
    event.Enable(m_nSegment + 1 < GetSegmentCount());
}

void CCorvaneView::OnUpdateViewPrevSegment(wxUpdateUIEvent& event)
{
    event.Enable(m_nSegment > 0);
}

// Only the grouping changes: caret, scroll position and edits in the control survive.
void CCorvaneView::OnViewByteOrder(wxCommandEvent&)
{
    const int nOrder = (m_pHexCtrl->GetByteOrder() ^ 1) & 1;
    m_pHexCtrl->SetByteOrder(nOrder);
    if (m_pHexCtrl->GetHandle())
        m_pHexCtrl->Refresh();
    WriteProfileInt(kSection, kByteOrderEntry, nOrder);
}

void CCorvaneView::OnUpdateViewByteOrder(wxUpdateUIEvent& event)
{
    event.Enable(m_nWordLen > 1);
}
