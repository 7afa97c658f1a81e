// Byte counts as the wizard shows them: "1,205 KB".
#pragma once

#include <cstdint>

#include "base/SetupString.h"

// Scales a byte count to the largest unit that keeps it at least 100 ("bytes", "KB",
// "MB" or "GB"); negative counts stay in bytes. Returns the scaled value.
std::int64_t scaleByteSize(std::int64_t bytes, SetupString& unit);

// Decimal text with ',' between groups of three digits: 1234567 gives "1,234,567".
void formatGrouped(std::int64_t value, SetupString& out);

// "<grouped scaled value> <unit>"; returns the scaled value.
std::int64_t formatByteSize(std::int64_t bytes, SetupString& out);
