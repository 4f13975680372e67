// The frame's, the view's and the document's fields, for tests only.
#pragma once

#include "CorvaneDoc.h"
#include "CorvaneView.h"
#include "MainFrame.h"

struct CShellProbe
{
    // Where the frame asks for the lock keys' state.
    static bool (*&KeyState(CMainFrame& frame))(wxKeyCode) { return frame.m_pfnGetKeyState; }
    static CHexEditCtrl& Ctrl(CCorvaneView& view) { return *view.m_pHexCtrl; }
    static const MemoryImage& Image(const CCorvaneDoc& doc) { return *doc.m_pImage; }
};
