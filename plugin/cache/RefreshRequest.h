#pragma once

namespace video {

// Asks the host, from any thread, to redraw the viewports once it is idle: a frame or a file the
// drawing thread stopped waiting for is ready. The host redraws by itself only when something it
// knows about changes, and a worker's finished work is not such a thing.
void requestViewportRefresh();

}  // namespace video
