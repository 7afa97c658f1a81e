// The one-copy claim as Windows answers it; under Wine the same cases hold the
// host's lock file to the named mutex.
#include "platform/Instance.h"

#include <gtest/gtest.h>

TEST(Instance, ANameIsHeldOnceUntilItIsGivenUp) {
  const char name[] = "Kestrane Instance Test";
  bool taken = true;
  const platform::InstanceClaim first = platform::claimInstance(name, taken);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(taken);

  // A second claim, even from the same process, finds the name taken.
  EXPECT_EQ(platform::claimInstance(name, taken), nullptr);
  EXPECT_TRUE(taken);
  // Another product's name is free.
  const platform::InstanceClaim other = platform::claimInstance("Kestrane Other Test", taken);
  EXPECT_NE(other, nullptr);
  EXPECT_FALSE(taken);
  platform::releaseInstance(other);

  // Nothing was marked: there is no window to bring to the front.
  EXPECT_FALSE(platform::activateInstance(name));
  EXPECT_FALSE(platform::markInstanceWindow(first, name, nullptr));

  platform::releaseInstance(first);
  const platform::InstanceClaim again = platform::claimInstance(name, taken);
  EXPECT_NE(again, nullptr);
  EXPECT_FALSE(taken);
  platform::releaseInstance(again);
  platform::releaseInstance(nullptr);
}
