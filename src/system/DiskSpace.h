// Whether the package fits on the drive the user chose.
#pragma once

#include <cstdint>

// The size of item `index` in bytes.
using ItemSizeFn = std::int64_t (*)(int index, void* context);

// Compares the free space of the drive holding `root` with the sum of the `count`
// item sizes. `freeBytes` and `requiredBytes` receive both figures. True only when
// the items fit with room to spare (equal is not enough). Where the system lacks
// GetDiskFreeSpaceExA the comparison is made in whole clusters.
bool checkDiskSpace(const char* root, std::int64_t& freeBytes, std::int64_t& requiredBytes,
                    ItemSizeFn sizeOf, int count, void* context);
