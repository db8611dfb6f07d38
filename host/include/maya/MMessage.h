#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <cstdint>

typedef uintptr_t MCallbackId;

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Base of Maya's message classes: the callback types they share and the removal of a callback.
class MMessage {
public:
    enum Action { kDefaultAction = 0, kDoNotDoAction = 1, kDoAction = 2 };

    typedef void (*MBasicFunction)(void* clientData);
    typedef void (*MStateFunction)(bool state, void* clientData);

    // Removes a callback registered through any message class; kFailure for an unknown id.
    static MStatus removeCallback(MCallbackId id);
};

OPENMAYA_NAMESPACE_CLOSE
