#pragma once

#include <maya/MMessage.h>

namespace host {

// The id of a new callback of any message class: ids count up from 1 and are never reused, so a
// stale id removes nothing, whichever class registered it.
MCallbackId newCallbackId();

}  // namespace host
