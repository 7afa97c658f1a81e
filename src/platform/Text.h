// Text as the program keeps it: 8-bit ANSI in Windows-1252, the code page of
// every text in a package, on every system. The Windows backend converts to and
// from UTF-16 at each system call with these functions, never through the
// system's own code page, which may be another (1251, 932, ...).
#pragma once

#include <cstdint>

namespace platform {

// True when `byte` starts a double-byte character. Windows-1252 has none; kept so
// that the text walkers above need not know which code page they walk.
bool isLeadByte(unsigned char byte);

// 256 entries: each single byte of the code page mapped to its upper case.
// Built once; the same table for the life of the process.
const unsigned char* ansiUpperTable();

// One byte to its UTF-16 unit (the five bytes Windows-1252 leaves undefined map
// to the code points of the same number, as Windows maps them).
char16_t ansiCharToWide(unsigned char byte);
// One UTF-16 unit to its byte, or -1 when the code page has none.
int wideCharToAnsi(char16_t c);

// Converts `length` bytes of ANSI text (-1: up to and including the terminator) to
// UTF-16. With outCapacity 0 returns the number of UTF-16 units needed; otherwise
// the number written. 0 on failure, including when `out` is too small.
int ansiToWide(const char* text, int length, char16_t* out, int outCapacity);

// The reverse: `length` UTF-16 units (-1: up to and including the terminator) to
// ANSI, with '?' for what the code page cannot hold. Counts and failures as
// ansiToWide, in bytes.
int wideToAnsi(const char16_t* text, int length, char* out, int outCapacity);

}  // namespace platform
