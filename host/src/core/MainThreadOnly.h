#pragma once

#include <host/MainThread.h>

namespace host {

// Marks a call into the single-threaded API for its whole run. Off the main thread the
// outermost such call (the one the plug-in made, not those it makes inside the host) is
// counted, and warned about the first time per function; prettyFunction is the function's
// __PRETTY_FUNCTION__, named in the warning as "Class::function".
class MainThreadApiCall {
public:
    explicit MainThreadApiCall(const char* prettyFunction) : offMainThread_(!isMainThread()) {
        if (offMainThread_) {
            enter(prettyFunction);
        }
    }
    ~MainThreadApiCall() {
        if (offMainThread_) {
            leave();
        }
    }
    MainThreadApiCall(const MainThreadApiCall&) = delete;
    MainThreadApiCall& operator=(const MainThreadApiCall&) = delete;

private:
    static void enter(const char* prettyFunction);
    static void leave();

    bool offMainThread_;
};

}  // namespace host

// First statement of every function of the single-threaded API families.
#define HOST_MAIN_THREAD_ONLY() \
    const ::host::MainThreadApiCall hostMainThreadApiCall(__PRETTY_FUNCTION__)
