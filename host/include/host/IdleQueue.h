#pragma once

#include <cstddef>
#include <functional>

// Maya's idle queue: work any thread queues for the main thread. It runs after each top-level
// statement of the session (typed at the prompt, given with -c, in a script file; the outermost
// scripts host::runScript runs) and at flushIdleQueue. Nothing else runs it: the host never
// redraws or runs queued work by itself. A batch session (cinesheet-host -batch) processes no
// idle events at all, as Maya's does not: there only flushIdleQueue runs the queue.
namespace host {

// Thread-safe.
void queueIdleWork(std::function<void()> work);
// Runs, on the calling (main) thread, the work queued before the call; work queued while it
// runs waits for the next run.
void runIdleQueue();
std::size_t idleQueueLength();
// Whether the queue runs after each top-level statement (true unless set otherwise).
bool idleEventsProcessed();
void setIdleEventsProcessed(bool processed);

}  // namespace host
