// Every key a manifest may hold (docs/manifest.md), in one table: the manifest
// reader checks keys against it, and docs/manifest.schema.json is made from it.
#pragma once

#include "common/JsonReport.h"
#include "common/KeyTable.h"

namespace kpack {

const tools::KeyTable& manifestKeys();

// The JSON Schema of manifests, as `kpack schema` prints it.
tools::JsonReport manifestSchema();

}  // namespace kpack
