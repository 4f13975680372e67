// Checks shared by the fuzz target: plain copies of images to compare what different
// paths read, and the writer's checks.
#pragma once

#include "MemoryImage.h"
#include "ReferenceReader.h"

#include <string>

// Aborts with the message when the condition does not hold: libFuzzer keeps the input.
void Check(bool bCondition, const char* pszWhat);
// Copies every segment, reading each byte of its block, and checks the table's invariants.
ImageCopy CopyImage(const MemoryImage& image);

// The writer's text must be exactly the designed records for the image.
void CheckWriterOutput(const ImageCopy& image, const std::string& text);
// Where the non-empty segments neither overlap nor touch, the text reads back to them.
void CheckRoundTrip(const ImageCopy& image, const std::string& text);
