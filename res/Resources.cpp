#include "Resource.h"

#include "ToolImages.h"

#include <wx/artprov.h>
#include <wx/image.h>
#include <wx/tokenzr.h>

#include <cstdio>
#include <vector>

namespace
{
struct CommandString
{
    int nId;
    const char* pszText;
};

// Status-bar prompt, line break, tooltip. Commands without a tooltip have none.
const CommandString kCommandStrings[] = {
    {wxID_NEW, "Create a new document\nNew"},
    {wxID_OPEN, "Open an existing document\nOpen"},
    {wxID_SAVE, "Save the active document\nSave"},
    {wxID_SAVEAS, "Save the active document with a new name\nSave As"},
    {wxID_PRINT, ""},
    {wxID_PREVIEW, "Display full pages\nPrint Preview"},
    {wxID_EXIT, "Quit the application\nExit"},
    {wxID_UNDO, "Undo the last action\nUndo"},
    {wxID_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    {wxID_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {wxID_PASTE, "Insert Clipboard contents\nPaste"},
    {wxID_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_VIEW_BYTES, "Bytewise\nbyte"},
    {ID_VIEW_WORD16, "wordwise\n16 bit"},
    {ID_VIEW_WORD24, "24 bit\n24 bit"},
    {ID_VIEW_BYTEORDER, "byteorder\n byteorder"},
    {ID_VIEW_WORD32, "32 bit\n32 bit"},
    {ID_VIEW_PREV_SEGMENT, "Show the previous segment\nPrevious segment"},
    {ID_VIEW_NEXT_SEGMENT, "Show the next segment\nNext segment"},
    {ID_FILE_RELOAD, "relaod\nreopen"},
};

const char* const kDocString =
    "Corvane\n\nCorva\nHex File (*.hex)\n.hex\nCorvane.Document\nCorva Document";

struct OwnImage
{
    int nId;
    const char* const* ppXpm;
};

const OwnImage kOwnImages[] = {
    {ID_VIEW_BYTES, byte_xpm},
    {ID_VIEW_WORD16, word16_xpm},
    {ID_VIEW_WORD24, word24_xpm},
    {ID_VIEW_WORD32, word32_xpm},
    {ID_VIEW_BYTEORDER, byteorder_xpm},
    {ID_VIEW_PREV_SEGMENT, prevsegment_xpm},
    {ID_VIEW_NEXT_SEGMENT, nextsegment_xpm},
    {ID_FILE_RELOAD, reload_xpm},
};

struct StockImage
{
    int nId;
    const char* pszArtId;
};

const StockImage kStockImages[] = {
    {wxID_NEW, wxART_NEW},     {wxID_OPEN, wxART_FILE_OPEN}, {wxID_SAVE, wxART_FILE_SAVE},
    {wxID_CUT, wxART_CUT},     {wxID_COPY, wxART_COPY},      {wxID_PASTE, wxART_PASTE},
    {wxID_PRINT, wxART_PRINT},
};

// The ink of the own images on a dark bar: the dark grey turns light and the blue lighter;
// the white inside the byte-order boxes takes the bar's dark, so they still read as hollow.
const char* const kDarkColours[] = {"b c #729FCF", "k c #EEEEEC", "w c #2E3436"};

bool IsDarkBar(const wxColour& background)
{
    return background.GetLuminance() < 0.5;
}

// The image's rows with its colours swapped for their dark-bar counterparts.
std::vector<const char*> DarkRows(const char* const* ppXpm)
{
    int nHeight = 0, nColours = 0;
    std::sscanf(ppXpm[0], "%*d %d %d", &nHeight, &nColours);
    std::vector<const char*> rows(ppXpm, ppXpm + 1 + nColours + nHeight);
    for (int i = 1; i <= nColours; i++)
    {
        for (const char* pszDark : kDarkColours)
        {
            if (pszDark[0] == rows[i][0])
                rows[i] = pszDark;
        }
    }
    return rows;
}

// The image at 1, 2 and 3 times its size with every pixel a sharp square: GTK scales the
// bar by whole numbers, and a smoothed upscale blurs these blocky images.
wxBitmapBundle PixelArtBundle(const wxImage& image)
{
    wxVector<wxBitmap> bitmaps;
    for (int nScale = 1; nScale <= 3; nScale++)
        bitmaps.push_back(wxBitmap(image.Scale(
            image.GetWidth() * nScale, image.GetHeight() * nScale, wxIMAGE_QUALITY_NEAREST)));
    return wxBitmapBundle::FromBitmaps(bitmaps);
}
} // namespace

namespace CorvaneRes
{
wxString GetDocString(EDocStringField nField)
{
    wxArrayString fields = wxSplit(kDocString, '\n', '\0');
    return nField < static_cast<int>(fields.size()) ? fields[nField] : wxString();
}

wxString GetCommandString(int nId)
{
    for (const CommandString& s : kCommandStrings)
    {
        if (s.nId == nId)
            return s.pszText;
    }
    return wxString();
}

wxString GetCommandPrompt(int nId)
{
    return GetCommandString(nId).BeforeFirst('\n');
}

wxString GetCommandTooltip(int nId)
{
    return GetCommandString(nId).AfterFirst('\n');
}

wxBitmapBundle GetOwnToolImage(int nId, const wxColour& background)
{
    // About shows the program's own icon, drawn from its scalable image at the bar's size
    if (nId == wxID_ABOUT)
        return wxBitmapBundle::FromSVG(GetAppIconSvg(), wxSize(kToolImageSize, kToolImageSize));
    for (const OwnImage& img : kOwnImages)
    {
        if (img.nId == nId)
            return PixelArtBundle(IsDarkBar(background) ? wxImage(DarkRows(img.ppXpm).data())
                                                        : wxImage(img.ppXpm));
    }
    return wxBitmapBundle();
}

wxBitmapBundle GetToolImage(int nId, const wxColour& background)
{
    wxBitmapBundle bundle = GetOwnToolImage(nId, background);
    if (bundle.IsOk())
        return bundle;
    const wxSize tile(kToolImageSize, kToolImageSize);
    for (const StockImage& img : kStockImages)
    {
        if (img.nId == nId)
            return wxArtProvider::GetBitmapBundle(img.pszArtId, wxART_TOOLBAR, tile);
    }
    return wxBitmap(tile.x, tile.y);
}

wxBitmapBundle GetAppIcon()
{
    return wxBitmapBundle::FromSVG(GetAppIconSvg(), wxSize(48, 48));
}

wxIconBundle GetAppIcons()
{
    const wxBitmapBundle bundle = GetAppIcon();
    wxIconBundle icons;
    for (int nSize : {16, 24, 32, 48, 64, 128})
    {
        wxIcon icon;
        icon.CopyFromBitmap(bundle.GetBitmap(wxSize(nSize, nSize)));
        icons.AddIcon(icon);
    }
    return icons;
}
} // namespace CorvaneRes
