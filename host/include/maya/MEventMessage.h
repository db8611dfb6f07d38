#pragma once

// Callbacks on the named events of `scriptJob -listEvents`. A callback must be removed
// (MMessage::removeCallback) before its plug-in is unloaded. Declarations as in MEventMessage.h,
// identical 2022-2024.

#include <maya/MApiNamespace.h>
#include <maya/MMessage.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MEventMessage : public MMessage {
public:
    // Called, on the main thread, each time the event happens. kInvalidParameter (and id 0)
    // for a name that is no event.
    static MCallbackId addEventCallback(const MString& event, MMessage::MBasicFunction func,
                                        void* clientData = nullptr,
                                        MStatus* ReturnStatus = nullptr);
    static MStatus getEventNames(MStringArray& names);
};

OPENMAYA_NAMESPACE_CLOSE
