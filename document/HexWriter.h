// Writing a memory image as Intel HEX: 04 and 00 records, the start-address record (03
// or 05) the image holds, 01 last; upper-case digits, CR LF line ends.
#pragma once

#include "MemoryImage.h"

#include <string>

// Writes the image as Intel HEX with CR LF line ends. A regular file (or a new one)
// is written to a temporary file beside it and renamed over it only when every byte
// was written; a symbolic link is written through. False on any error; the old
// file is then untouched.
bool WriteHexFile(const MemoryImage& image, const char* pszPath);
// The whole file as WriteHexFile writes it, in memory.
std::string FormatHexText(const MemoryImage& image);
