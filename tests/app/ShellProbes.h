// The frame's, the view's and the document's fields, for tests only.
#pragma once

#include "CorvaneDoc.h"
#include "CorvaneView.h"
#include "MainFrame.h"

struct CMainFrameProbe
{
    explicit CMainFrameProbe(CMainFrame& frame) : f(frame) {}
    CMainFrame& f;

    // Where the frame asks for the lock keys' state.
    bool (*&KeyState())(wxKeyCode) { return f.m_pfnGetKeyState; }
};

struct CCorvaneViewProbe
{
    explicit CCorvaneViewProbe(CCorvaneView& view) : v(view) {}
    CCorvaneView& v;

    CHexEditCtrl& Ctrl() const { return *v.m_pHexCtrl; }
    int WordLen() const { return v.m_nWordLen; }
};

struct CCorvaneDocProbe
{
    static const MemoryImage& Image(const CCorvaneDoc& doc) { return doc.m_image; }
};
