// The main window's size on a first run: wide enough for the widest dump line the view
// shows, within the screen's work area.
#pragma once

#include <wx/gdicmn.h>

class wxFrame;

// Character cells of the widest line over every word length, address column included.
int WidestLineCells();
// Sizes and centres the frame for its hex control (id IDC_HEXEDIT) and the control's font.
void FitFirstRunFrame(wxFrame* pFrame);
