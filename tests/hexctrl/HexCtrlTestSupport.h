// What the control tests share: a window to put the control in, scripts of keys, clicks and
// scrolls, and a reader that turns the rendered picture back into text.
#pragma once

#include "GuiTestSupport.h"
#include "HexEditCtrlProbe.h"
#include "HexLayout.h"

#include <wx/frame.h>
#include <wx/image.h>

// Reads the control's picture back cell by cell, against glyphs drawn with the toolkit's own text
// drawing in the control's font and the theme's colours, at the picture's scale (device pixels per
// logical pixel); a cell drawn inverted lies under the caret.
class CScreenReader
{
public:
    CScreenReader(const wxImage& image, const wxFont& font, wxSize cell, int nScale);
    std::string Text(int nCol, int nRow, int nCount) const;
    // cells of the row drawn inverted, as "col,col,..."
    std::string InvertedCells(int nRow) const;
    bool IsBlankRow(int nRow) const;

private:
    int Balance(int nCol, int nRow) const;
    wxImage m_image;
    wxImage m_glyphs;
    wxSize m_cell;
};

// A shown frame holding one control, to be sized in whole lines.
class CHexCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Resizes the control to hold nLines whole lines plus nExtraPixels.
    void SetLines(int nLines, int nExtraPixels = 0);
    // Hands data over as the view does: address info, data, bytes per line.
    void Load(const std::vector<unsigned char>& data, int nWordLen, int nBytesPerLine,
              int nBase = 0);
    CScreenReader Render();
    // Drives the handlers step by step and checks after each that the caret index stays within 0 ..
    // length. Steps, separated by blanks: keys L R U D H E PU PD TAB INS DEL with prefixes S
    // (Shift) and C (Control); 'x types x, #n types code n, ^n Control code n; @c,r presses at cell
    // (c, r), +@c,r with Shift, ~c,r moves with the button held, !c,r releases; =p,f places the
    // caret on index p in field f; Tn sets the top offset; vc,n scrolls with code c and position n;
    // Wn resizes to n lines; X takes the mouse capture away.
    void Run(const std::string& strScript);
    CHexEditCtrlProbe P() const { return CHexEditCtrlProbe(*m_pCtrl); }

    wxFrame* m_pFrame = nullptr;
    CHexEditCtrl* m_pCtrl = nullptr;
    int m_nCellWidth = 0;
    int m_nLineHeight = 0;
};

// Bytes per line that hold whole words of each length.
inline int BytesPerLine(int nWordLen)
{
    return nWordLen == 3 ? 33 : nWordLen == 1 ? 16 : 32;
}
