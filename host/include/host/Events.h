#pragma once

#include <maya/MMessage.h>

#include <string>

// The named events of MEventMessage that the host raises.
namespace host {

// Runs, on the calling (main) thread, every callback of the event, in the order they were added.
void raiseEvent(const std::string& name);
// Removes an event callback; false when the id is no event callback's.
bool removeEventCallback(MCallbackId id);

}  // namespace host
