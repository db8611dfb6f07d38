#pragma once

// Tells the plug-in when a viewport refresh begins, through a render notification at the start
// of every render (MRenderer::addNotification, MPassContext::kBeginRenderSemantic): the waits
// of a refresh are counted from then, and a refresh asked for by late work is no longer awaited.
// Held while any draw override lives; the notification is made with the first and removed with
// the last, so it never outlives the plug-in. Main thread only.
class RefreshNotice {
public:
    RefreshNotice();
    ~RefreshNotice();
    RefreshNotice(const RefreshNotice&) = delete;
    RefreshNotice& operator=(const RefreshNotice&) = delete;
};
