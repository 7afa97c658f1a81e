#include "system/DiskSpace.h"

#include "platform/Files.h"

bool checkDiskSpace(const char* root, std::int64_t& freeBytes, std::int64_t& requiredBytes,
                    ItemSizeFn sizeOf, int count, void* context) {
  requiredBytes = 0;
  for (int i = 0; i < count; ++i) requiredBytes += sizeOf(i, context);

  if (platform::hasDiskFreeSpaceEx()) {
    std::uint64_t available = 0;
    if (!platform::getDiskFreeSpaceEx(root, &available)) available = 0;
    freeBytes = std::int64_t(available);
    return requiredBytes < freeBytes;
  }

  std::uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!platform::getDiskFreeSpace(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                                  &totalClusters)) {
    sectorsPerCluster = bytesPerSector = freeClusters = totalClusters = 0;
  }
  const std::int64_t cluster = std::int64_t(sectorsPerCluster) * bytesPerSector;
  freeBytes = std::int64_t(freeClusters) * cluster;
  if (cluster == 0) return false;
  std::int64_t clustersNeeded = 0;
  for (int i = 0; i < count; ++i) clustersNeeded += (sizeOf(i, context) + cluster - 1) / cluster;
  return clustersNeeded < std::int64_t(freeClusters);
}
