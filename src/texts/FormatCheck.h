// Texts that are printf formats ("Failed to: %s ...") come from translators and
// vendors: outside input. A translation may reword everything but the
// conversions, which must be the same, in the same order, as in our English.
#pragma once

#include <string>

namespace texts {

// The conversion letters of `text` in order ("ss" for "Folder:\n   %s\n%s");
// "%%" is a percent sign, not a conversion. False for a '%' that is not one of
// the plain conversions %s, %d, %u or %% (flags, widths, positions, %n, a '%'
// at the end): a text with one is never passed to a format call.
bool conversionsOf(const char* text, std::string& letters);

// True when `translation` has exactly the conversions of `english`.
bool sameConversions(const char* translation, const char* english);

}  // namespace texts
