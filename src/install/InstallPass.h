// The install pass, synchronous and without a window: it empties or creates the
// install folder, inflates every item into it and runs the registration stage,
// telling a listener what happens: done(0) first, progress percentages while
// inflating, then either one error or done(1). The worker thread runs it for the
// window; kpack install and kinstall run it as it is.
#pragma once

#include <cstdint>

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "system/InstallTarget.h"

enum InstallError : std::int32_t {
  FailOverwriteFolder = 0,
  FailCreateFolder = 1,
  FailDecompress = 2,
  FailWriteFile = 3,
};

// The text id (texts/TextCatalog.h) of the operation the error box names for each
// code; 0, which names no text, for any other. The window's thread looks the
// text up: the worker never touches the texts.
int installErrorTextId(std::int32_t code);

struct FailureRecord {
  std::int32_t code = 0;
  SetupString path;  // the install location, the item's stored name or the target
  // For files in use, the programs that hold them, separated by commas, when
  // the system can tell; otherwise empty.
  SetupString holders;
};

class InstallListener {
 public:
  virtual ~InstallListener() = default;
  // 0 as the pass starts, 1 when it has ended well.
  virtual void onDone(int state) = 0;
  // Before each block is inflated, the share of the packed bytes done so far
  // (0..100). False stops the pass: the block fails as a damaged one would.
  virtual bool onProgress(int percent) = 0;
  // The pass stopped at `failure`; nothing follows.
  virtual void onError(const FailureRecord& failure) = 0;
};

// The link choices every pass makes, the wizard's too: for the target's audience,
// in the Start menu's top level and on the desktop.
void chooseDefaultLinks(InstallOptions& options, const InstallTarget& target);

// The choices of a pass without a wizard: the default links, every optional
// extension checked, into the target's parent folder.
void defaultInstallOptions(InstallOptions& options, const InstallModel& model,
                           const InstallTarget& target);

// Runs the pass over options.model (nothing but done(0) and done(1) without
// one) into the target's location, registering where the target says. The saved
// settings empty options.ParentMenuEntry when TopMenuEntry is set. True when it
// ended with done(1).
bool runInstallPass(InstallOptions& options, const InstallTarget& target,
                    InstallListener& listener);
