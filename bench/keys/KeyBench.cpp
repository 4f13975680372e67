// One keystroke in the hex-edit control on a 64 MiB segment, as the toolkit delivers it,
// repaints on the screen included: a caret step, a nibble typed, an Insert and a Delete.
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/keys/keybench
#include "HexEditCtrl.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>

#include <vector>

namespace
{
const int SEGMENT = 64 << 20;
CHexEditCtrl* s_pCtrl = nullptr;

void Send(wxEventType type, int nKey)
{
    wxKeyEvent event(type);
    event.m_keyCode = nKey;
    event.m_uniChar = nKey;
    event.SetEventObject(s_pCtrl);
    s_pCtrl->GetEventHandler()->ProcessEvent(event);
    // the paint the event loop would do for what the key left invalid (the caret's cells)
    s_pCtrl->Update();
}

void BM_CaretStep(benchmark::State& state)
{
    int nKey = WXK_RIGHT;
    for (auto _ : state)
    {
        Send(wxEVT_KEY_DOWN, nKey);
        nKey = nKey == WXK_RIGHT ? WXK_LEFT : WXK_RIGHT;
    }
}

// The caret walks on through the segment, scrolling a line when it passes the bottom.
void BM_NibbleTyped(benchmark::State& state)
{
    for (auto _ : state)
        Send(wxEVT_CHAR, '5');
}

void BM_InsertThenDelete(benchmark::State& state)
{
    int nKey = WXK_INSERT;
    for (auto _ : state)
    {
        Send(wxEVT_KEY_DOWN, nKey);
        nKey = nKey == WXK_INSERT ? WXK_DELETE : WXK_INSERT;
    }
}
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 1;
    CHexEditCtrl::EnableCaretBlink(false);
    // the program's first window: a dump of about 30 lines
    auto* pFrame = new wxFrame(nullptr, wxID_ANY, "keys", wxDefaultPosition, wxSize(760, 560));
    s_pCtrl = new CHexEditCtrl;
    s_pCtrl->Create("hexEd", 0, wxRect(0, 0, 760, 480), pFrame, 1000);
    s_pCtrl->SetAddressDigits(8);
    pFrame->Show();
    wxTheApp->Yield(true);
    std::vector<unsigned char> data(SEGMENT, 0xA5);
    s_pCtrl->SetAddressInfo(0, 1);
    s_pCtrl->SetData(data.data(), SEGMENT);
    s_pCtrl->SetBytesPerLine(16);
    s_pCtrl->SetFocus();
    benchmark::RegisterBenchmark("CaretStep64MiB", BM_CaretStep)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("NibbleTyped64MiB", BM_NibbleTyped)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("InsertOrDelete64MiB", BM_InsertThenDelete)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    delete pFrame;
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
