// Text of the control's fixed-pitch font drawn from cells rasterised once, so that a paint
// costs one copy per character cell instead of a text layout per line. Positions are in the
// window's logical pixels; cells are rasterised at the window's device pixels, so that a
// scaled desktop gets sharp text at the size of the rest of its text.
#pragma once

#include <wx/colour.h>
#include <wx/font.h>

#include <vector>

class CHexGlyphs
{
public:
    // A locked frame of 32-bit pixels (0xFFRRGGBB words), sized in device pixels.
    struct CFrame
    {
        unsigned char* pBits;
        int nStride;
        int nWidth;
        int nHeight;
    };

    // Cell width is that of "0", cell height that of its text extent, both in logical pixels;
    // each logical pixel of a cell is nScale device pixels wide and high.
    void Build(const wxFont& font, int nScale);
    // Built cells are rasterised again at the next Build (the theme or the scale changed).
    void Invalidate() { m_nCellWidth = 0; }
    bool IsBuilt() const { return m_nCellWidth > 0; }
    int GetCellWidth() const { return m_nCellWidth; }
    int GetCellHeight() const { return m_nCellHeight; }
    int GetScale() const { return m_nScale; }

    // Text on background for ordinary cells; the inverted cells under the caret swap the two,
    // so that they read as well as the text does on light and dark themes alike.
    // True when the colours changed.
    bool SetColours(const wxColour& background, const wxColour& text);

    // Fills nHeight logical pixels of the frame's rows from nY, right of nX, with the ordinary
    // background.
    void Fill(const CFrame& frame, int nY, int nHeight, int nX = 0) const;
    // Draws n characters from the logical pixel (nX, nY), one whole cell each (blanks too),
    // clipped to the frame.
    void DrawText(const CFrame& frame, int nX, int nY, const char* psz, int n,
                  bool bInverted) const;

private:
    enum
    {
        FIRST_CHAR = 0x20,
        LAST_CHAR = 0x7E,
        CHAR_COUNT = LAST_CHAR - FIRST_CHAR + 1
    };

    void Colour(int nScheme, const wxColour& background, const wxColour& text);
    const unsigned char* Cell(int nScheme, char ch) const;

    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    int m_nScale = 1;
    // per character, per device pixel and channel: how much of the text colour covers it
    std::vector<unsigned char> m_coverage;
    // per scheme (ordinary, inverted): every character cell in final pixels
    std::vector<unsigned char> m_cells[2];
    unsigned char m_background[2][3] = {};
    wxColour m_colourBackground;
    wxColour m_colourText;
};
