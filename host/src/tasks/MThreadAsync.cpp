#include <maya/MThreadAsync.h>

#include <host/Faults.h>
#include <host/Tasks.h>

#include "tasks/TaskPool.h"

#include <iostream>

MStatus MThreadAsync::init() {
    if (host::faultEnabled(host::fault::kTaskInit)) {
        return MStatus::kFailure;
    }
    host::TaskPool::instance().addUser();
    return MStatus::kSuccess;
}

void MThreadAsync::release() {
    if (!host::TaskPool::instance().removeUser()) {
        std::cerr << "MThreadAsync::release called without a matching init\n";
    }
}

MStatus MThreadAsync::createTask(MThreadFunc func, void* data, MThreadAsyncCallbackFunc callback,
                                 MThreadRootTask* /*root*/) {
    if (func == nullptr || host::faultEnabled(host::fault::kTaskCreate)) {
        return MStatus::kFailure;
    }
    return host::TaskPool::instance().submit(func, data, callback) ? MStatus::kSuccess
                                                                   : MStatus::kFailure;
}

const char* MThreadAsync::className() {
    return "MThreadAsync";
}

std::size_t host::waitingTasks() {
    return host::TaskPool::instance().waitingTasks();
}
