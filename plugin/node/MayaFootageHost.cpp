#include "node/MayaFootageHost.h"

#include "node/HostImageReader.h"
#include "node/MelString.h"
#include "node/RefreshRequest.h"

#include <maya/MGlobal.h>
#include <maya/MString.h>

namespace {

// Maya shows messages from its main thread only, and a warning may come from any thread. A
// command rather than a task of ours: a task would call into this library, which may be unloaded
// by the time the main thread gets to it.
void warnFromIdle(const std::string& line) {
    MGlobal::executeCommandOnIdle(MString(("warning " + melString(line)).c_str()), false);
}

void showError(const std::string& text) {
    MGlobal::displayError(MString(text.c_str()));
}

}  // namespace

FootageHost mayaFootageHost() {
    return FootageHost{video::requestViewportRefresh, video::readWithHostReader, warnFromIdle,
                       showError};
}
