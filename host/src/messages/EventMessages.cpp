#include <host/Events.h>
#include <maya/MEventMessage.h>

#include "core/MainThreadOnly.h"
#include "messages/CallbackIds.h"

#include <algorithm>
#include <map>
#include <vector>

// The events of `scriptJob -listEvents` the host raises: the colour-management configuration
// being replaced ("colorMgtConfigChanged": "another OCIO config is loaded") and its path changing
// ("colorMgtConfigFilePathChanged"), both on colorManagementPrefs -edit -configFilePath and when
// an opened scene brings another configuration
// (http://help.autodesk.com/cloudhelp/2019/ENU/Maya-Tech-Docs/CommandsPython/scriptJob.html).
// Maya has many more; the host knows only those it can raise, and refuses a callback on any
// other name rather than take one that would never run.
namespace host {
namespace {

const char* const kEvents[] = {"colorMgtConfigChanged", "colorMgtConfigFilePathChanged"};

struct EventCallback {
    std::string event;
    MMessage::MBasicFunction function;
    void* clientData;
};

std::map<MCallbackId, EventCallback>& callbacks() {
    static std::map<MCallbackId, EventCallback> all;
    return all;
}

bool isEvent(const std::string& name) {
    return std::find(std::begin(kEvents), std::end(kEvents), name) != std::end(kEvents);
}

}  // namespace

void raiseEvent(const std::string& name) {
    // A callback may add or remove callbacks: the ones due are picked first.
    std::vector<MCallbackId> due;
    for (const auto& [id, callback] : callbacks()) {
        if (callback.event == name) {
            due.push_back(id);
        }
    }
    for (MCallbackId id : due) {
        const auto callback = callbacks().find(id);
        if (callback != callbacks().end()) {
            callback->second.function(callback->second.clientData);
        }
    }
}

bool removeEventCallback(MCallbackId id) {
    return callbacks().erase(id) != 0;
}

}  // namespace host

MCallbackId MEventMessage::addEventCallback(const MString& event, MMessage::MBasicFunction func,
                                            void* clientData, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    const bool valid = func != nullptr && host::isEvent(event.asChar());
    if (ReturnStatus) {
        *ReturnStatus = valid ? MStatus::kSuccess : MStatus::kInvalidParameter;
    }
    if (!valid) {
        return 0;
    }
    const MCallbackId id = host::newCallbackId();
    host::callbacks().emplace(id, host::EventCallback{event.asChar(), func, clientData});
    return id;
}

MStatus MEventMessage::getEventNames(MStringArray& names) {
    HOST_MAIN_THREAD_ONLY();
    names.clear();
    for (const char* name : host::kEvents) {
        names.append(name);
    }
    return MStatus::kSuccess;
}
