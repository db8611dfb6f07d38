#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

typedef void* MThreadRetVal;
typedef MThreadRetVal (*MThreadFunc)(void*);
typedef void (*MThreadAsyncCallbackFunc)(void* data);

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Asynchronous tasks on the session's thread pool, as many threads as the thread count
// (threadCount -n, by default one per logical processor). A task waits until a thread is
// free; a task that blocks keeps its thread.
class MThreadAsync {
public:
    // Reference-counted: every successful init needs one release. Starts no thread.
    static MStatus init();
    // Drops one reference. Maya documents only that the threads are deleted when the count
    // returns to zero; callers must not rely on it waiting for their tasks.
    static void release();
    // Queues func(data) for a pool thread, then afunc(data) on the same thread.
    static MStatus createTask(MThreadFunc func, void* data, MThreadAsyncCallbackFunc afunc,
                              MThreadRootTask* root);
    static const char* className();

private:
    MThreadAsync();
    ~MThreadAsync();
};

OPENMAYA_NAMESPACE_CLOSE
