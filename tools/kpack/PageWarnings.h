// kpack's part of the page check (common/PageCheck.h): the pages of a package
// over the skin its setup carries, each warning said at the place of its cause:
// the manifest's field and line when there is a manifest, the skin's font, or
// the package.
#pragma once

#include <string>
#include <vector>

#include "app/SetupTexts.h"
#include "app/Wizard.h"
#include "base/ByteStream.h"
#include "common/Warnings.h"
#include "kpack/Manifest.h"
#include "package/InstallModel.h"

namespace kpack {

// The skin a check of the file at `path` (its bytes `program` when it is a built
// setup, else empty) lays the pages out over at the display scale of `percent`,
// and the glyphs above 127 of its fonts (empty when it has none): the ones a
// built setup carries, else kpack's own copy of the default skin (at 100 %
// alone). Its name for messages goes to `name`. False, with the reason in
// `error`, when there is none.
bool skinForCheck(const std::string& path, const std::vector<unsigned char>& program, int percent,
                  ByteStream& skin, ByteStream& glyphs, std::string& name, std::string& error);

// Checks the pages of `model` over `skin` (a skin resource, `skinName` in
// messages, with `glyphs` above 127 and the setup's `texts` when not null) and says what does not
// fit into `warnings`. `manifest` is the one the package was built from, or null; `packageName`
// names the package without one. `skipFileTypes` leaves out what the check-box grid warning already
// said. False, with the reason (and its place) in `error`, when the pages cannot be laid out at all
// or the skin does not load.
bool warnAboutPages(InstallModel& model, const ByteStream& skin, const ByteStream* glyphs,
                    const SetupTexts* texts, const std::string& skinName, const Manifest* manifest,
                    const std::string& packageName, bool skipFileTypes, tools::Warnings& warnings,
                    std::string& error);

// Loads `skin` with `glyphs` (may be null or empty) into `lists` for the checks
// of every language at its scale, which share it. False, with the reason in
// `error`, when it does not load.
bool loadSkinForPages(const ByteStream& skin, const ByteStream* glyphs, const std::string& skinName,
                      SkinLists& lists, std::string& error);

// The same for the texts of one language at the display scale of `percent`,
// the loaded skin's: `language` names it in what is found ("German"; empty for
// a setup that speaks English alone), and `textsField` ("texts.de") is where the
// manifest words its texts, so that a text of it that does not fit is said at
// its line.
bool warnAboutPages(InstallModel& model, SkinLists& skin, int percent, const SetupTexts& texts,
                    const std::string& language, const std::string& textsField,
                    const std::string& skinName, const Manifest* manifest,
                    const std::string& packageName, bool skipFileTypes, tools::Warnings& warnings,
                    std::string& error);

}  // namespace kpack
