// The one-copy claim and the named events as Windows answers them; under Wine
// the same cases hold the host's lock file and event table to the system's objects.
#include "platform/Events.h"
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

// Named events, as the uninstaller's copy answers its original with them. Only
// waits of no time: the host answers every wait at once.
TEST(Instance, ANamedEventIsMadeOnceAndSetThroughItsName) {
  const char name[] = "Kestrane Event Test";
  const char other[] = "Kestrane Event Test 2";
  platform::EventId events[2] = {platform::createEvent(name), platform::createEvent(other)};
  ASSERT_NE(events[0], nullptr);
  ASSERT_NE(events[1], nullptr);
  // A name made already is never handed out again: its maker could set it.
  EXPECT_EQ(platform::createEvent(name), nullptr);
  EXPECT_EQ(platform::waitForAnyEvent(events, 2, 0), -1);

  const platform::EventId setter = platform::openEvent(other);
  ASSERT_NE(setter, nullptr);
  EXPECT_TRUE(platform::setEvent(setter));
  platform::closeEvent(setter);
  EXPECT_EQ(platform::waitForAnyEvent(events, 2, 0), 1);
  EXPECT_EQ(platform::waitForAnyEvent(events, 1, 0), -1);

  for (platform::EventId e : events) platform::closeEvent(e);
  // Closed by everyone, the names are gone and free again.
  EXPECT_EQ(platform::openEvent(name), nullptr);
  const platform::EventId again = platform::createEvent(name);
  EXPECT_NE(again, nullptr);
  platform::closeEvent(again);
}
