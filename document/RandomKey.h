// Keys drawn afresh for every read, so that no file can be made to hit a weakness of a
// hash that it could know in advance.
#pragma once

#include <cstdint>

// 64 random bits from the system's source (the clock when it has none)
uint64_t NewRandomKey();
