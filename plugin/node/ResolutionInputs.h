#pragma once

#include <maya/MStatus.h>

// A scene saved before the node had its render resolution inputs has them unconnected and at 0.
// Once such a scene is opened or imported, each of its nodes gets "defaultResolution"'s width and
// height connected to them, as the creation command connects a new node's: compute reads the
// resolution from its inputs alone, and a change of the render settings re-places the plane.
// Inputs that were disconnected by hand hold the value they had, and are left so. Main thread.

// Registers the scene callbacks that connect them; removed by the second.
MStatus registerResolutionCallbacks();
void deregisterResolutionCallbacks();
