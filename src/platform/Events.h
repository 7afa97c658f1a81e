// Named events: how one process tells another, that waits for it, that something
// happened. The uninstaller's temporary copy answers the original with them.
#pragma once

#include <cstdint>

namespace platform {

// An open event; null when none.
using EventId = void*;

// Creates the named, manual-reset event `name`, not set (CreateEventW). Null when
// it cannot be made, and when an event of that name existed already: whoever made
// it could set it, so it never carries an answer meant for us.
EventId createEvent(const char* name);

// Opens the existing event `name` to set it (OpenEventW). Null when there is none
// or it may not be set by this process.
EventId openEvent(const char* name);

// Sets the event; it stays set. False when the system refuses.
bool setEvent(EventId event);

// Waits up to `milliseconds` for any of the `count` events (WaitForMultipleObjects).
// Returns the index of a set one, or -1 when none was set in that time or the wait
// failed. On the host it never waits: no other process can reach this one's
// events there (startProcess only writes a line), so it answers at once with the
// events' state, as if the time had passed.
int waitForAnyEvent(const EventId* events, int count, std::uint32_t milliseconds);

// Closes the event; the name is free again once every process closed it. Nothing
// for null.
void closeEvent(EventId event);

}  // namespace platform
