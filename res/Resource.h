// Identifiers and strings of the program's resources: window ids and the string table
// (status-bar prompt and tooltip of each command).
#pragma once

#include "CommandIds.h"

#include <wx/bitmap.h>
#include <wx/bmpbndl.h>
#include <wx/colour.h>
#include <wx/defs.h>
#include <wx/iconbndl.h>
#include <wx/string.h>

// Resource and window identifiers.
enum EResourceId : int
{
    IDC_HEXEDIT = 1000,
    AFX_IDW_TOOLBAR = ID_VIEW_TOOLBAR,
    AFX_IDW_STATUS_BAR = ID_VIEW_STATUS_BAR,
    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,
    ID_INDICATOR_SCRL = 59139
};

// Fields of the document string, in their order.
enum EDocStringField : int
{
    kWindowTitle = 0,
    kDocName,
    kFileNewName,
    kFilterName,
    kFilterExt,
    kRegFileTypeId,
    kRegFileTypeName
};

namespace CorvaneRes
{
// Application name and the company that names the profile's folder.
inline constexpr const char* kAppName = "Corvane";
inline constexpr const char* kCompany = "Mirel Software";
// The prompt pane's idle text.
inline constexpr const char* kIdleMessage = "Ready";
inline constexpr const char* kIndicatorCaps = "CAP";
inline constexpr const char* kIndicatorNum = "NUM";
inline constexpr const char* kIndicatorScrl = "SCRL";
// Names the Open and Save As dialogs list; the installed MIME type (corvane-mime.xml) claims
// the same, so that file managers and the dialog agree.
inline constexpr const char* kFilePatterns = "*.hex;*.ihx;*.ihex;*.h86";

// The document string of the template, one field per line.
wxString GetDocString(EDocStringField nField);

// The command's string "prompt\ntooltip"; empty when the command has none.
wxString GetCommandString(int nId);
// Text before the line break: shown in the status bar.
wxString GetCommandPrompt(int nId);
// Text after the line break: the toolbar tooltip.
wxString GetCommandTooltip(int nId);

// Toolbar image of one of the program's own commands for a bar of the given background
// colour: 18 x 18 at 100 %, sharp when the desktop scales it, light ink on a dark bar;
// empty for other ids.
wxBitmapBundle GetOwnToolImage(int nId, const wxColour& background);
// Toolbar image of a toolbar command: the own image, or the theme's stock image, 18 x 18.
wxBitmapBundle GetToolImage(int nId, const wxColour& background);
inline constexpr int kToolImageSize = 18;

// The program's icon, drawn from its scalable image at the usual sizes.
wxBitmapBundle GetAppIcon();
wxIconBundle GetAppIcons();
const char* GetAppIconSvg();
} // namespace CorvaneRes
