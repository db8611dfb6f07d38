#pragma once

#include <cstddef>
#include <functional>

// Maya's idle queue: work any thread queues for the main thread. It runs after each top-level
// statement of the session (typed at the prompt, given with -c, in a script file; the outermost
// scripts host::runScript runs) and at flushIdleQueue. Nothing else runs it: the host never
// redraws or runs queued work by itself.
namespace host {

// Thread-safe.
void queueIdleWork(std::function<void()> work);
// Runs, on the calling (main) thread, the work queued before the call; work queued while it
// runs waits for the next run.
void runIdleQueue();
std::size_t idleQueueLength();

}  // namespace host
