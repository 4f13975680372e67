// The frame's, the view's and the document's fields, for tests only.
#pragma once

#include "MainFrame.h"

struct CMainFrameProbe
{
    explicit CMainFrameProbe(CMainFrame& frame) : f(frame) {}
    CMainFrame& f;

    // Where the frame asks for the lock keys' state.
    bool (*&KeyState())(wxKeyCode) { return f.m_pfnGetKeyState; }
};
