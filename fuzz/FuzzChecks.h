// Checks shared by the fuzz target's files.
#pragma once

#include "Reference.h"

#include <string>

// Aborts with the message when the condition does not hold: libFuzzer keeps the input.
void Check(bool bCondition, const char* pszWhat);
// CopyImage, checking the table's invariants.
ImageCopy CheckedCopy(const MemoryImage& image);

// The writer's text must be exactly the reference writer's for the image and start address.
void CheckWriterOutput(const ImageCopy& image, const CStartAddress& start, const std::string& text);
// Where the non-empty segments neither overlap nor touch, the text reads back to them.
void CheckRoundTrip(const ImageCopy& image, const std::string& text);
