#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

typedef void* MThreadRetVal;
typedef MThreadRetVal (*MThreadFunc)(void*);
typedef void (*MThreadAsyncCallbackFunc)(void* data);

OPENMAYA_MAJOR_NAMESPACE_OPEN

// The host's service for long-running background tasks.
class MThreadAsync {
public:
    // Reference-counted: every successful init needs one release.
    static MStatus init();
    // Drops one reference. Maya documents only that the threads are deleted when the count
    // returns to zero; callers must not rely on it waiting for their tasks.
    static void release();
    // Runs func(data) on a pool thread, then afunc(data) on the same thread.
    static MStatus createTask(MThreadFunc func, void* data, MThreadAsyncCallbackFunc afunc,
                              MThreadRootTask* root);

private:
    MThreadAsync();
    ~MThreadAsync();
};

OPENMAYA_NAMESPACE_CLOSE
