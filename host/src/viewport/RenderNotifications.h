#pragma once

#include <maya/MDrawContext.h>
#include <maya/MString.h>

namespace host {

// Runs the render notifications added at the semantic location, in the order they were added.
void sendRenderNotifications(const MString& semanticLocation, MHWRender::MDrawContext& context);

}  // namespace host
