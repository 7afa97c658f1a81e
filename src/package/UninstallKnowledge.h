// What the uninstaller knows of the product it removes: its own resource, which
// kpack writes into the uninstaller item when it builds the package.
//
// The resource is a package in the package format (PackageFormat.h), read with the
// setup's own reader, with one difference: an item's packedData blob holds, in
// place of the file's zlib stream, the SHA-256 of the installed file (32 bytes),
// or nothing for the uninstaller item itself, whose file carries this resource and
// so cannot carry its own fingerprint. unpackedSize stays the installed file's size.
#pragma once

#include <cstdint>

#include "base/Sha256.h"
#include "package/InstallModel.h"

// Type "RC_DATA", this id.
constexpr int kUninstallResourceId = 113;

// Reads the resource into `model`, its pictures left empty (the uninstaller
// shows none). False, with the model empty and its failureReason saying why,
// when the bytes are not such a package.
bool readUninstallKnowledge(const unsigned char* data, std::uint32_t size, InstallModel& model);

// The fingerprint the resource gives for `item`. False when it carries none.
bool itemDigest(const InstallItem& item, Sha256Digest& digest);
