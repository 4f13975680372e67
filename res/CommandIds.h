// Command ids of the program's own; standard commands use the wx stock ids. The document, the
// view and the frame dispatch on them; the resources give each its strings and image.
#pragma once

enum ECommandId : int
{
    ID_VIEW_BYTES = 32771,
    ID_VIEW_WORD16 = 32772,
    ID_VIEW_NEXT_SEGMENT = 32773,
    ID_VIEW_PREV_SEGMENT = 32774,
    ID_VIEW_WORD24 = 32775,
    ID_VIEW_BYTEORDER = 32777,
    ID_VIEW_WORD32 = 32779,
    ID_FILE_RELOAD = 32780,
    // Menu items and windows take ids below 0x7FFF; each bar's command is its window id.
    ID_VIEW_TOOLBAR = 32000,
    ID_VIEW_STATUS_BAR = 32001
};
