// Byte counts as the wizard shows them: "1,205 KB", or "1.205 KB" where the
// user's language groups digits with another character.
#pragma once

#include <cstdint>

#include "base/SetupString.h"

// Scales a byte count to the largest unit that keeps it at least 100 ("bytes", "KB",
// "MB" or "GB"); negative counts stay in bytes. Returns the scaled value.
std::int64_t scaleByteSize(std::int64_t bytes, SetupString& unit);

// Decimal text with `separator` between groups of three digits: 1234567 gives
// "1,234,567".
void formatGrouped(std::int64_t value, SetupString& out, char separator = ',');

// "<grouped scaled value> <unit>"; returns the scaled value.
std::int64_t formatByteSize(std::int64_t bytes, SetupString& out, char separator = ',');
