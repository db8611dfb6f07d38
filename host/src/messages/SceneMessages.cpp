#include "messages/SceneMessages.h"

#include "messages/CallbackIds.h"

#include <host/Events.h>
#include <host/Playback.h>

#include <map>
#include <utility>
#include <vector>

namespace host {
namespace {

struct Registration {
    MSceneMessage::Message message;
    MMessage::MBasicFunction function;
    void* clientData;
};

struct Registry {
    std::map<MCallbackId, Registration> callbacks;
};

Registry& registry() {
    static Registry callbacks;
    return callbacks;
}

}  // namespace

void sendSceneMessage(MSceneMessage::Message message) {
    // A callback may add or remove callbacks: the ones due are picked first.
    std::vector<MCallbackId> due;
    for (const auto& [id, registration] : registry().callbacks) {
        if (registration.message == message) {
            due.push_back(id);
        }
    }
    for (MCallbackId id : due) {
        const auto found = registry().callbacks.find(id);
        if (found != registry().callbacks.end()) {
            found->second.function(found->second.clientData);
        }
    }
}

}  // namespace host

MCallbackId MSceneMessage::addCallback(Message msg, MMessage::MBasicFunction func, void* clientData,
                                       MStatus* ReturnStatus) {
    const bool valid = func != nullptr && msg >= kSceneUpdate && msg < kLast;
    if (ReturnStatus) {
        *ReturnStatus = valid ? MStatus::kSuccess : MStatus::kInvalidParameter;
    }
    if (!valid) {
        return 0;
    }
    host::Registry& callbacks = host::registry();
    const MCallbackId id = host::newCallbackId();
    callbacks.callbacks.emplace(id, host::Registration{msg, func, clientData});
    return id;
}

MStatus MMessage::removeCallback(MCallbackId id) {
    return host::registry().callbacks.erase(id) != 0 || host::removeConditionCallback(id) ||
                   host::removeEventCallback(id)
               ? MStatus::kSuccess
               : MStatus::kFailure;
}
