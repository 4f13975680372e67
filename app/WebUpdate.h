// The maker's web-update hook: the shared directory named in the machine-wide settings and
// the path of the web-update library in it.
#pragma once

#include <cstddef>

// Longest path the hook handles, in characters, without the terminating NUL.
inline constexpr size_t kMaxPath = 260;
// The library's file name in the shared directory and the entry called once.
inline constexpr const char* kWebLibraryName = "mirelwebint.so";
inline constexpr const char* kWebEntryName = "MirelWebGetInfo";

// Fills pszPath (kMaxPath + 1 characters) with the "SharedPath" text value and one
// trailing separator; 0 when the key cannot be opened with full access or the value is
// missing, no text, empty or kMaxPath characters and longer.
int GetSharedPath(char* pszPath);
// Appends "/" to pszPath (kMaxPath + 1 characters) unless it ends in "/" or "\" or has no
// room for it.
void AppendPathSeparator(char* pszPath);
