// What the control tests share: a window to put the control in, read access to its fields,
// and a reader that turns the rendered picture back into text.
#pragma once

#include "HexEditCtrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <string>
#include <vector>

// The control's fields and inner operations, for tests only.
struct CHexEditCtrlProbe
{
    explicit CHexEditCtrlProbe(CHexEditCtrl& ctrl) : c(ctrl) {}
    CHexEditCtrl& c;

    const unsigned char* Data() const { return c.m_pData; }
    int& TopOffset() { return c.m_nTopOffset; }
    int& CaretPos() { return c.m_nCaretPos; }
    int& CaretField() { return c.m_nCaretField; }
    int& SelStart() { return c.m_nSelStart; }
    int LinesPerPage() const { return c.m_nLinesPerPage; }
    bool& CaretScroll() { return c.m_bCaretScroll; }
    bool DataFitsWindow() const { return c.m_bDataFitsWindow; }
    bool LayoutDirty() const { return c.m_bLayoutDirty; }
    bool LongAddress() const { return c.m_bLongAddress; }
    int WordLen() const { return c.m_nWordLen; }
    int CharWidth() const { return c.m_nCharWidth; }
    int LineHeight() const { return c.m_nLineHeight; }
    int HexX() const { return c.m_nHexX; }
    int CharX() const { return c.m_nCharX; }
    int CaretX() const { return c.m_nCaretX; }
    int CaretY() const { return c.m_nCaretY; }
    const wxFont& Font() const { return c.m_font; }
    bool CaretExists() const { return c.m_caret.Exists(); }
    bool CaretShown() const { return c.m_caret.IsShown(); }
    wxRect CaretRect() const { return c.m_caret.GetRect(); }

    void VScroll(int nCode, int nPos = 0) { c.OnVScroll(nCode, nPos); }
    void PlaceCaret(int nPos) { c.PlaceCaret(nPos); }
    void SetSelection(int nStart, int nEnd) { c.SetSelection(nStart, nEnd); }
    void FocusIn()
    {
        wxFocusEvent event(wxEVT_SET_FOCUS, c.GetId());
        c.OnSetFocus(event);
    }
    void FocusOut()
    {
        wxFocusEvent event(wxEVT_KILL_FOCUS, c.GetId());
        c.OnKillFocus(event);
    }
    static void SetMalloc(void* (*pfn)(size_t)) { CHexEditCtrl::s_pfnMalloc = pfn; }
};

// One character cell as drawn: the character that best matches it, and whether it was
// drawn inverted (under the caret).
struct CCell
{
    char ch;
    bool bInverted;
};

// Reads the control's picture back as text, cell by cell, against glyphs drawn with the
// toolkit's own text drawing in the control's font.
class CScreenReader
{
public:
    CScreenReader(const wxImage& image, const wxFont& font);
    CCell At(int nCol, int nRow) const;
    // nCount characters from cell (nCol, nRow); inverted cells read as their character
    std::string Text(int nCol, int nRow, int nCount) const;
    // cells of the row that are drawn inverted, as "col,col,..."
    std::string InvertedCells(int nRow) const;
    bool IsBlankRow(int nRow) const;
    int Columns() const { return m_image.GetWidth() / m_nCellWidth; }

private:
    long Distance(int nCol, int nRow, int nGlyph, bool bInverted) const;

    wxImage m_image;
    wxImage m_glyphs;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
};

// A shown frame holding one control of a given client size (in cells and lines).
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
    CHexEditCtrlProbe P() const { return CHexEditCtrlProbe(*m_pCtrl); }
    int HexCol() const { return P().HexX() / m_nCellWidth; }
    int CharCol() const { return P().CharX() / m_nCellWidth; }

    wxFrame* m_pFrame = nullptr;
    CHexEditCtrl* m_pCtrl = nullptr;
    int m_nCellWidth = 0;
    int m_nLineHeight = 0;
};

std::vector<unsigned char> Sequence(int nCount, int nFirst = 0);
