// What kpack refuses beyond parsing: every rule of the setup's package reader
// (package/PackageRules.h), applied to the model the manifest describes, and on top
// of those the manifests the setup would accept but then install only in part
// without telling the user (docs/manifest.md lists them).
#pragma once

#include <memory>
#include <string>

#include "base/ByteStream.h"
#include "kpack/Manifest.h"
#include "package/InstallModel.h"

namespace kpack {

// Throws ManifestError, naming file, line and field, at the first rule broken.
void checkManifestRules(const Manifest& manifest);

// The model the setup would read from the manifest's package, without pictures,
// licence or file bodies.
std::unique_ptr<InstallModel> modelOf(const Manifest& manifest);

// The manifest's field of the file type whose optional extensions the setup
// offers ("items[0].file-types[1]"), or "" when it offers none.
std::string offeredTypeField(const Manifest& manifest, const InstallModel& model);

// A warning when the offered file type has more optional extensions than the
// file-type page of `skin` (a skin resource) shows above its links beside the side
// picture of `model` (read from the built package), or "" when they fit. Also ""
// when the skin does not read: the figures then come from nothing.
std::string checkBoxGridWarning(const Manifest& manifest, const InstallModel& model,
                                const ByteStream& skin);

}  // namespace kpack
