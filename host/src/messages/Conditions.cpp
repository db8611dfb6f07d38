#include <host/Playback.h>
#include <maya/MConditionMessage.h>

#include "core/MainThreadOnly.h"
#include "messages/CallbackIds.h"

#include <map>
#include <vector>

// The conditions of `scriptJob -listConditions` that the host drives: "playblasting", which
// the playblast command registers and holds for its whole run
// (https://help.autodesk.com/cloudhelp/2020/ENU/Maya-Tech-Docs/Commands/playblast.html), and
// "playingBack", true while Maya plays
// (https://download.autodesk.com/global/docs/maya2013/en_US/Commands/scriptJob.html). Maya has
// many more; the host knows only those it can make true.
namespace host {
namespace {

struct ConditionCallback {
    std::string condition;
    MMessage::MStateFunction function;
    void* clientData;
};

struct Conditions {
    std::map<std::string, bool> states{{"playblasting", false}, {"playingBack", false}};
    std::map<MCallbackId, ConditionCallback> callbacks;
};

Conditions& conditions() {
    static Conditions all;
    return all;
}

}  // namespace

void setConditionState(const std::string& name, bool state) {
    const auto found = conditions().states.find(name);
    if (found == conditions().states.end() || found->second == state) {
        return;
    }
    found->second = state;
    // A callback may add or remove callbacks: the ones due are picked first.
    std::vector<MCallbackId> due;
    for (const auto& [id, callback] : conditions().callbacks) {
        if (callback.condition == name) {
            due.push_back(id);
        }
    }
    for (MCallbackId id : due) {
        const auto callback = conditions().callbacks.find(id);
        if (callback != conditions().callbacks.end()) {
            callback->second.function(state, callback->second.clientData);
        }
    }
}

bool removeConditionCallback(MCallbackId id) {
    return conditions().callbacks.erase(id) != 0;
}

ConditionScope::ConditionScope(const char* name)
    : name_(name), previous_(MConditionMessage::getConditionState(name)) {
    setConditionState(name_, true);
}

ConditionScope::~ConditionScope() {
    setConditionState(name_, previous_);
}

}  // namespace host

MCallbackId MConditionMessage::addConditionCallback(const MString& conditionName,
                                                    MMessage::MStateFunction func, void* clientData,
                                                    MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    const bool valid =
        func != nullptr && host::conditions().states.count(conditionName.asChar()) != 0;
    if (ReturnStatus) {
        *ReturnStatus = valid ? MStatus::kSuccess : MStatus::kInvalidParameter;
    }
    if (!valid) {
        return 0;
    }
    const MCallbackId id = host::newCallbackId();
    host::conditions().callbacks.emplace(
        id, host::ConditionCallback{conditionName.asChar(), func, clientData});
    return id;
}

MStatus MConditionMessage::getConditionNames(MStringArray& names) {
    HOST_MAIN_THREAD_ONLY();
    names.clear();
    for (const auto& condition : host::conditions().states) {
        names.append(condition.first.c_str());
    }
    return MStatus::kSuccess;
}

// Whether Maya answers from other threads is not documented: the host takes the conservative
// reading, the main thread only.
bool MConditionMessage::getConditionState(const MString& name, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    const auto found = host::conditions().states.find(name.asChar());
    if (ReturnStatus) {
        *ReturnStatus = found != host::conditions().states.end() ? MStatus::kSuccess
                                                                 : MStatus::kInvalidParameter;
    }
    return found != host::conditions().states.end() && found->second;
}
