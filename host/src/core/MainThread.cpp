#include <host/Messages.h>

#include "core/MainThreadOnly.h"

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace host {
namespace {

std::thread::id mainThread() {
    static const std::thread::id id = std::this_thread::get_id();
    return id;
}

// Recorded while the library loads, on the thread that loads it.
const bool mainThreadRecorded = (mainThread(), true);

std::atomic<std::size_t> callCount{0};
thread_local int apiCallDepth = 0;

std::mutex& warnedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::set<std::string>& warnedFunctions() {
    static std::set<std::string> names;
    return names;
}

// "double Autodesk::Maya::OpenMaya20240000::MPlug::asDouble(MStatus*) const" gives
// "MPlug::asDouble".
std::string functionName(const std::string& pretty) {
    std::string name = pretty.substr(0, pretty.find('('));
    name = name.substr(name.rfind(' ') + 1);
    const std::size_t member = name.rfind("::");
    if (member != std::string::npos && member > 0) {
        const std::size_t owner = name.rfind("::", member - 1);
        if (owner != std::string::npos) {
            name = name.substr(owner + 2);
        }
    }
    return name;
}

}  // namespace

bool isMainThread() {
    return std::this_thread::get_id() == mainThread();
}

void MainThreadApiCall::leave() {
    --apiCallDepth;
}

void MainThreadApiCall::enter(const char* prettyFunction) {
    if (apiCallDepth++ > 0) {
        return;
    }
    ++callCount;
    const std::string name = functionName(prettyFunction);
    {
        std::lock_guard<std::mutex> lock(warnedMutex());
        if (!warnedFunctions().insert(name).second) {
            return;
        }
    }
    showMessage(MessageKind::kWarning, name + " called off the main thread");
}

std::size_t offMainThreadCalls() {
    return callCount;
}

void resetOffMainThreadCalls() {
    std::lock_guard<std::mutex> lock(warnedMutex());
    warnedFunctions().clear();
    callCount = 0;
}

}  // namespace host
