// One paint of the control in which every line is new (as after Page Down), for segments of
// 1 KiB, 64 MiB and 256 MiB and each word length: the time must follow the visible lines, not
// the segment's size; and one in which nothing changed (an expose), which only copies pixels.
// A desktop scaled to 200 % paints four times the pixels; run it both ways to compare:
//   xvfb-run -a -s "-screen 0 1920x1200x24" build/bench/paint/paintbench
//   GDK_SCALE=2 xvfb-run -a -s "-screen 0 3840x2400x24" build/bench/paint/paintbench
#include "HexEditCtrl.h"
#include "HexEditCtrlProbe.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <random>
#include <vector>

namespace
{
const int LINES = 60;
const int CELLS = 121;

struct CBench
{
    wxFrame* pFrame = nullptr;
    CHexEditCtrl* pCtrl = nullptr;
    std::vector<unsigned char> data;
    int nLoadedSize = -1;
    int nLoadedWordLen = -1;
};
CBench s_bench;

int BytesPerLine(int nWordLen)
{
    return nWordLen <= 2 ? 16 * nWordLen : (nWordLen == 3 ? 33 : 32);
}

// Hands a segment over as the view does; skipped when it is already shown.
void Load(int nSize, int nWordLen)
{
    if (s_bench.nLoadedSize == nSize && s_bench.nLoadedWordLen == nWordLen)
        return;
    s_bench.pCtrl->SetAddressInfo(0x10000 / nWordLen, nWordLen);
    s_bench.pCtrl->SetData(s_bench.data.data(), nSize);
    s_bench.pCtrl->SetBytesPerLine(BytesPerLine(nWordLen));
    s_bench.nLoadedSize = nSize;
    s_bench.nLoadedWordLen = nWordLen;
}

wxSize CellSize()
{
    wxBitmap probe(1, 1, 24);
    wxMemoryDC dc(probe);
    dc.SetFont(s_bench.pCtrl->GetFont());
    return dc.GetTextExtent("0");
}

void BM_Paint(benchmark::State& state)
{
    const int nSize = static_cast<int>(state.range(0));
    const int nWordLen = static_cast<int>(state.range(1));
    Load(nSize, nWordLen);
    const wxSize size = s_bench.pCtrl->GetClientSize();
    const double dScale = s_bench.pCtrl->GetContentScaleFactor();
    wxBitmap bitmap;
    bitmap.CreateWithDIPSize(size, dScale, 24);
    wxMemoryDC dc(bitmap);
    const bool bNewLines = state.range(2) != 0;
    CHexEditCtrlProbe probe(*s_bench.pCtrl);
    const int nPage = LINES * BytesPerLine(nWordLen);
    for (auto _ : state)
    {
        if (bNewLines)
            probe.TopOffset() = probe.TopOffset() == 0 && nSize > 2 * nPage ? nPage : 0;
        s_bench.pCtrl->RenderTo(dc, size);
    }
    probe.TopOffset() = 0;
    state.counters["cells"] = size.x / CellSize().x;
    state.counters["lines"] = size.y / CellSize().y;
    state.counters["scale"] = dScale;
}

// Dragging the thumb to the last line of the longest segment: one scroll, one repaint.
void BM_ThumbToEnd(benchmark::State& state)
{
    Load(256 << 20, 2);
    const int nLast =
        s_bench.pCtrl->GetScrollRange(wxVERTICAL) - s_bench.pCtrl->GetScrollThumb(wxVERTICAL);
    int nPos = 0;
    for (auto _ : state)
    {
        nPos = nPos == 0 ? nLast : 0;
        wxScrollWinEvent event(wxEVT_SCROLLWIN_THUMBTRACK, nPos, wxVERTICAL);
        s_bench.pCtrl->GetEventHandler()->ProcessEvent(event);
        // the paint the event loop would do for what the scroll left invalid
        s_bench.pCtrl->Update();
    }
}

// For comparison: a repaint on the screen with nothing scrolled.
void BM_RepaintOnScreen(benchmark::State& state)
{
    Load(64 << 20, 2);
    for (auto _ : state)
    {
        s_bench.pCtrl->Refresh(false);
        s_bench.pCtrl->Update();
    }
}

void SetUpWindow()
{
    s_bench.pFrame = new wxFrame(nullptr, wxID_ANY, "paint");
    wxPanel* pPanel = new wxPanel(s_bench.pFrame);
    s_bench.pCtrl = new CHexEditCtrl;
    s_bench.pCtrl->Create("hexEd", 0, wxRect(0, 0, 100, 100), pPanel, 1000);
    s_bench.pCtrl->SetAddressDigits(8);
    const wxSize size(CellSize().x * CELLS, CellSize().y * LINES);
    s_bench.pFrame->SetClientSize(size + wxSize(64, 0));
    // room for the scroll bar, so that the client area holds the whole window of text
    s_bench.pCtrl->SetSize(size +
                           wxSize(s_bench.pCtrl->GetSize() - s_bench.pCtrl->GetClientSize()));
    s_bench.pFrame->Show();
    wxTheApp->Yield(true);
    s_bench.data.resize(256u << 20);
    std::mt19937 random(7);
    for (auto& byte : s_bench.data)
        byte = static_cast<unsigned char>(random());
}
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 1;
    CHexEditCtrl::EnableCaretBlink(false);
    SetUpWindow();
    for (int nSize : {1 << 10, 64 << 20, 256 << 20})
        for (int nWordLen = 1; nWordLen <= 4; ++nWordLen)
            for (int nNewLines : {1, 0})
                benchmark::RegisterBenchmark("Paint", BM_Paint)
                    ->Args({nSize, nWordLen, nNewLines})
                    ->ArgNames({"bytes", "wordlen", "newlines"})
                    ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ThumbToEnd256MiB", BM_ThumbToEnd)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("RepaintOnScreen64MiB", BM_RepaintOnScreen)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    delete s_bench.pFrame;
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
