#pragma once

#include <maya/MSceneMessage.h>

namespace host {

// Runs, on the calling (main) thread, every callback registered for the message, in the order
// they were added.
void sendSceneMessage(MSceneMessage::Message message);

}  // namespace host
