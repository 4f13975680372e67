// The control's composed picture: 32-bit pixels at the window's device resolution, kept while
// the size stays and copied to a device context with no conversion of its pixels, so that a
// paint on a scaled desktop costs one block copy besides drawing the text.
#pragma once

#include <wx/gdicmn.h>

class wxDC;
typedef struct _cairo_surface cairo_surface_t;

class CHexPicture
{
public:
    // Pixels of a locked picture: 32-bit words 0x..RRGGBB, the window's own format (the top
    // byte is not read).
    struct CPixels
    {
        unsigned char* pBits;
        int nStride;
        int nWidth;
        int nHeight;
    };

    CHexPicture() = default;
    ~CHexPicture();
    CHexPicture(const CHexPicture&) = delete;
    CHexPicture& operator=(const CHexPicture&) = delete;

    // Makes the picture size (logical pixels) times nScale device pixels, of the kind that
    // copies to dc cheapest, keeping it when it already has them (*pNew tells which); false
    // when no picture could be had.
    bool Prepare(wxDC& dc, const wxSize& size, int nScale, bool* pNew);
    // The pixels, to be written before the next DrawTo.
    CPixels Lock();
    // Tells the copy that the pixels changed, then copies the logical rectangle rc to dc.
    void DrawTo(wxDC& dc, const wxRect& rc);

private:
    cairo_surface_t* m_pSurface = nullptr;
    wxSize m_size;
    int m_nScale = 0;
};
