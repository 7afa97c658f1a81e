// The install target a test writes to unless it says otherwise: today's, for all
// users in the 32-bit view, made afresh so that it sees the machine as it is now.
#pragma once

#include "system/InstallTarget.h"

inline InstallTarget testTarget(const InstallModel& model = InstallModel(),
                                RegistryView view = RegistryView::Bits32) {
  InstallTarget target;
  makeInstallTarget(model, InstallScope::AllUsers, view, target);
  return target;
}
