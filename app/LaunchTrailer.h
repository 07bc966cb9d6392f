// Launch trailer: the address block a distributor appends behind the executable's last section.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"

#include <string>
#include <vector>

// Most bytes of the trailer that are ever read; the text ends at the first NUL within them.
const DWORD kLaunchTrailerMaxBytes = 256;

// File offset just behind the raw data of the last section of the running executable, or 0 when its
// image headers cannot be read.
DWORD GetLaunchTrailerOffset();
// The same for any module mapped in this process (a data-file handle is accepted too).
DWORD GetLaunchTrailerOffset(HMODULE hModule);

// The trailer's bytes up to its first NUL (nLength of them) from the file at pstrPath, taken at the
// running executable's trailer offset. False, with nothing read, when the file cannot be opened (a
// message box says so) or read.
bool ReadLaunchTrailerBytes(LPCWSTR pstrPath, char (&szBuffer)[kLaunchTrailerMaxBytes], DWORD& nLength);

// Reads the trailer of the file at pstrPath, taken at the running executable's trailer offset.
// When the file cannot be opened it says so in a message box; sText is empty on every failure.
// Returns false when the file could not be opened or read.
bool ReadLaunchTrailer(LPCWSTR pstrPath, std::string& sText);

// The non-empty pieces of sText between occurrences of chSeparator; nothing is trimmed.
std::vector<std::string> SplitText(const std::string& sText, char chSeparator);

// Piece nPiece of the running executable's trailer (pieces split at "|") as wide text; empty when the
// file cannot be read (its message box shows), holds no "|", or has no such piece.
// (The project's string: the launcher itself links no standard string code.)
Veneer::CUIString ReadLaunchTrailerPiece(size_t nPiece);
// The same for the file at pstrPath, read at the running executable's trailer offset.
Veneer::CUIString ReadLaunchTrailerPiece(LPCWSTR pstrPath, size_t nPiece);

// A trailer piece as wide text: the length is measured as UTF-8, the bytes are converted in the ANSI
// code page within that length. Empty when the conversion does not fit.
std::wstring TrailerPieceToWide(const std::string& sPiece);
// The same for nLength bytes at pPiece (at most kLaunchTrailerMaxBytes, else empty).
Veneer::CUIString TrailerPieceToWide(const char* pPiece, int nLength);
