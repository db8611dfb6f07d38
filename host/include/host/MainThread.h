#pragma once

#include <cstddef>

// Maya's API is single-threaded: the dependency graph (MPlug, MFn*, MDGModifier, MSelectionList,
// MDagPath, MPxNode), MGlobal (but for its idle queue), MImage, MTextureManager and MTexture
// belong to the main thread. Whether MGlobal's messages (displayWarning ...) may be shown from
// another thread is not documented: the host takes them as main-thread calls too. The host
// reports every call of theirs from another thread:
// "// Warning: MPlug::asDouble called off the main thread //" the first time per function, and
// counts every call (hostConfig -q -offMainThreadCalls).
namespace host {

// The main thread is the one that loaded the host library.
bool isMainThread();
std::size_t offMainThreadCalls();
// Zero calls, and each function warns again at its next call off the main thread.
void resetOffMainThreadCalls();

}  // namespace host
