// The ANSI code page of the system: lead bytes, case folding and UTF-16.
#pragma once

#include <cstdint>

namespace platform {

// True when `byte` starts a double-byte character in the ANSI code page.
bool isLeadByte(unsigned char byte);

// 256 entries: each single byte of the ANSI code page mapped to its upper case.
// Built once; the same table for the life of the process.
const unsigned char* ansiUpperTable();

// Converts `length` bytes of ANSI text (-1: up to and including the terminator) to
// UTF-16. With outCapacity 0 returns the number of UTF-16 units needed; otherwise
// the number written. 0 on failure, including when `out` is too small.
int ansiToWide(const char* text, int length, char16_t* out, int outCapacity);

// The reverse: `length` UTF-16 units (-1: up to and including the terminator) to
// ANSI, with a default character for what the code page cannot hold. Counts and
// failures as ansiToWide, in bytes.
int wideToAnsi(const char16_t* text, int length, char* out, int outCapacity);

}  // namespace platform
