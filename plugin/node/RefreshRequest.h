#pragma once

namespace video {

// Asks the host, from any thread, to redraw the viewports once it is idle, with `refresh -f`
// (a redraw "regardless of the state of the model": nothing Maya knows of changed): a frame or a
// file the drawing thread stopped waiting for is ready. The host redraws by itself only when
// something it knows about changes, and a worker's finished work is not such a thing. At most
// one such refresh is asked for until the next refresh begins, however many nodes and
// instances have late work; none in a session that processes no idle events (batch), where the
// refreshes that matter wait for their frames instead.
void requestViewportRefresh();

// A refresh begins (main thread): the one asked for, if any, is no longer awaited.
// `idleEventsProcessed` tells whether the session runs work queued for its idle time.
void viewportRefreshBegan(bool idleEventsProcessed);

}  // namespace video
