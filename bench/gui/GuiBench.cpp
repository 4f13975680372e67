// The whole program in one process, driven as a user drives it: opens FILE, waits for the
// first painted dump, then steps STEPS segments forward and back again (toolbar command,
// repaint and toolbar update each time), then puts a segment of 256 MiB into the document
// and drags the scroll thumb to its end and back. Prints one "name=value" line per figure.
//   guibench FILE [STEPS]        (under a display; bench/gui/gui.sh runs it)
#include "CommandIds.h"
#include "CorvaneApp.h"
#include "CorvaneDoc.h"
#include "MainFrame.h"
#include "Resource.h"

#include <wx/docview.h>
#include <wx/scrolbar.h>
#include <wx/time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

// The document's image, replaced here without a file to read.
struct CShellProbe
{
    static void SetImage(CCorvaneDoc& doc, std::shared_ptr<const MemoryImage> pImage)
    {
        doc.m_pImage = std::move(pImage);
    }
};

namespace
{
double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

class CBenchApp : public CCorvaneApp
{
public:
    wxString m_strFile;

protected:
    bool ParseCommandLine(CCommandLineInfo& info) override
    {
        info.m_nShellCommand = CCommandLineInfo::FileOpen;
        info.m_strFileName = m_strFile;
        return true;
    }
};

// Runs the event loop until nothing is pending, as between two user actions.
void Settle()
{
    while (wxTheApp->Pending())
        wxTheApp->Dispatch();
    wxTheApp->Yield(true);
}

// One toolbar command, with what the event loop does after it before the user sees the
// result: the repaint and the toolbar's enabled states.
double Command(CMainFrame* pFrame, wxWindow* pCtrl, int nId)
{
    const double t0 = NowMs();
    wxCommandEvent event(wxEVT_MENU, nId);
    event.SetEventObject(pFrame);
    pFrame->GetEventHandler()->ProcessEvent(event);
    pCtrl->Update();
    pFrame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    wxTheApp->Yield(true);
    return NowMs() - t0;
}

void Report(const char* pszName, std::vector<double> times)
{
    if (times.empty())
        return;
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    std::printf("%s_ms mean=%.2f median=%.2f p99=%.2f max=%.2f n=%zu\n", pszName,
                sum / times.size(), times[times.size() / 2],
                times[std::min(times.size() - 1, times.size() * 99 / 100)], times.back(),
                times.size());
}

// Drags the thumb to nPos, releases it and waits for the repaint.
double Thumb(wxWindow* pCtrl, int nPos)
{
    const double t0 = NowMs();
    for (wxEventType type : {wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
    {
        wxScrollWinEvent event(type, nPos, wxVERTICAL);
        event.SetEventObject(pCtrl);
        pCtrl->GetEventHandler()->ProcessEvent(event);
    }
    pCtrl->Update();
    wxTheApp->Yield(true);
    return NowMs() - t0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: guibench FILE [STEPS]\n");
        return 2;
    }
    const int nSteps = argc > 2 ? std::atoi(argv[2]) : 2000;
    auto* pApp = new CBenchApp;
    pApp->m_strFile = wxString::FromUTF8(argv[1]);
    wxApp::SetInstance(pApp);
    int nArgc = 1;
    if (!wxEntryStart(nArgc, argv))
        return 1;
    const double tStart = NowMs();
    if (!pApp->CallOnInit())
        return 1;
    CMainFrame* pFrame = pApp->GetMainFrame();
    wxWindow* pCtrl = pFrame ? pFrame->FindWindow(IDC_HEXEDIT) : nullptr;
    auto* pDoc = wxDynamicCast(pApp->GetDocManager()->GetCurrentDocument(), CCorvaneDoc);
    if (pCtrl == nullptr || pDoc == nullptr)
        return 1;
    bool bPainted = false;
    pCtrl->Bind(wxEVT_PAINT,
                [&bPainted](wxPaintEvent& event)
                {
                    bPainted = true;
                    event.Skip();
                });
    while (!bPainted)
        wxTheApp->Yield(true);
    std::printf("open_to_first_paint_ms=%.1f\n", NowMs() - tStart);
    Settle();

    std::printf("segments=%d\n", pDoc->GetSegmentCount());
    const int n = std::min(nSteps, pDoc->GetSegmentCount() - 1);
    std::vector<double> forward, back;
    for (int i = 0; i < n; i++)
        forward.push_back(Command(pFrame, pCtrl, ID_VIEW_NEXT_SEGMENT));
    for (int i = 0; i < n; i++)
        back.push_back(Command(pFrame, pCtrl, ID_VIEW_PREV_SEGMENT));
    Report("next_segment", forward);
    Report("previous_segment", back);

    // a segment of 256 MiB as the document's only one, shown as a reload shows it
    {
        std::vector<uint8_t> bytes(256u << 20);
        for (size_t i = 0; i < bytes.size(); i++)
            bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 12));
        auto pImage = std::make_shared<MemoryImage>();
        pImage->AddBytes(0x10000, bytes.data(), static_cast<int>(bytes.size()));
        CShellProbe::SetImage(*pDoc, std::move(pImage));
    }
    double t0 = NowMs();
    pDoc->UpdateAllViews();
    pCtrl->Update();
    Settle();
    std::printf("show_256MiB_segment_ms=%.1f\n", NowMs() - t0);
    const int nLast = pCtrl->GetScrollRange(wxVERTICAL) - pCtrl->GetScrollThumb(wxVERTICAL);
    std::vector<double> toEnd, toStart;
    for (int i = 0; i < 20; i++)
    {
        toEnd.push_back(Thumb(pCtrl, nLast));
        toStart.push_back(Thumb(pCtrl, 0));
    }
    Report("thumb_to_end_256MiB", toEnd);
    Report("thumb_to_start_256MiB", toStart);

    pFrame->Close(true);
    Settle();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
