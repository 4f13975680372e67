// The toolbar's own images as their golden strips: today's on a light bar at 100 %, light ink
// on a dark bar, every pixel a sharp square at 200 %.
#include "AppTestSupport.h"

#include <wx/toolbar.h>

#include <cstring>

using ToolbarTest = CAppRunTest;

// A theme change swaps the images on the bar and still reaches the windows in the frame, the
// dump among them.
TEST_F(ToolbarTest, ThemeChangeSwapsTheImages)
{
    ASSERT_TRUE(Start(""));
    wxImage::AddHandler(new wxPNGHandler);
    wxToolBar* pBar = Frame()->GetToolBar();
    int nSeen = 0;
    Frame()->GetStatusBar()->Bind(wxEVT_SYS_COLOUR_CHANGED, [&](wxEvent&) { nSeen++; });
    const wxColour light(0xF6, 0xF5, 0xF4), dark(0x35, 0x35, 0x35);
    for (auto [pszStrip, bar, nSize] : {std::tuple{"toolbar-light.png", light, 18},
                                        {"toolbar-dark.png", dark, 18},
                                        {"toolbar-dark-2x.png", dark, 36}})
    {
        pBar->SetBackgroundColour(bar);
        wxSysColourChangedEvent event;
        Frame()->GetEventHandler()->ProcessEvent(event);
        const wxImage golden(DataFile(pszStrip));
        wxImage shown(golden.GetSize());
        int nPos = 0;
        for (int nId : std::initializer_list<int>{
                 ID_VIEW_BYTES, ID_VIEW_WORD16, ID_VIEW_WORD24, ID_VIEW_WORD32, ID_VIEW_BYTEORDER,
                 ID_VIEW_PREV_SEGMENT, ID_VIEW_NEXT_SEGMENT, ID_FILE_RELOAD, wxID_ABOUT})
            shown.Paste(pBar->FindById(nId)
                            ->GetNormalBitmapBundle()
                            .GetBitmap(wxSize(nSize, nSize))
                            .ConvertToImage(),
                        nSize * nPos++, 0);
        EXPECT_EQ(0, std::memcmp(shown.GetData(), golden.GetData(), 3 * golden.GetWidth() * nSize))
            << pszStrip;
    }
    EXPECT_EQ(3, nSeen);
}
