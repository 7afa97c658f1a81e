// The system's own words for an error code (GetLastError's), for logs.
#pragma once

namespace platform {

// FormatMessageW from the system's table, in Windows-1252 with '?' for what the
// code page lacks, without the trailing line break, into `text` of `size` bytes.
// Returns the length, or 0 when the system has no text for the code (`text` then
// holds ""). On the host a short English text for the codes the host backend
// gives, and 0 for the rest.
int systemErrorText(unsigned long code, char* text, int size);

}  // namespace platform
