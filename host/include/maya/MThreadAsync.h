#pragma once

#include <maya/MStatus.h>

class MThreadRootTask;

typedef void* MThreadRetVal;
typedef MThreadRetVal (*MThreadFunc)(void*);
typedef void (*MThreadCallbackFunc)(void*);

// The host's service for long-running background tasks.
class MThreadAsync {
public:
    // Reference-counted: every successful init needs one release.
    static MStatus init();
    // Drops one reference; the last one waits for every running task to end.
    static void release();
    // Runs func(data) on a pool thread, then callback(data) on the same thread.
    static MStatus createTask(MThreadFunc func, void* data, MThreadCallbackFunc callback,
                              MThreadRootTask* root);
};
