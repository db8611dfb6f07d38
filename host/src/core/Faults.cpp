#include <host/Faults.h>

#include <algorithm>
#include <mutex>
#include <set>

namespace host {
namespace {

std::mutex& faultMutex() {
    static std::mutex mutex;
    return mutex;
}

std::set<std::string>& enabledFaults() {
    static std::set<std::string> faults;
    return faults;
}

}  // namespace

const std::vector<std::string>& knownFaults() {
    static const std::vector<std::string> names = {
        fault::kNoOffsetParentMatrix, fault::kColorManagementQuery, fault::kTaskInit,
        fault::kTaskCreate,           fault::kTextureAcquire,       fault::kTextureUpdate,
        fault::kAddAttribute,
    };
    return names;
}

bool isKnownFault(const std::string& name) {
    const auto& names = knownFaults();
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool setFault(const std::string& name, bool enabled) {
    if (!isKnownFault(name)) {
        return false;
    }
    std::lock_guard<std::mutex> lock(faultMutex());
    if (enabled) {
        enabledFaults().insert(name);
    } else {
        enabledFaults().erase(name);
    }
    return true;
}

bool faultEnabled(const std::string& name) {
    std::lock_guard<std::mutex> lock(faultMutex());
    return enabledFaults().count(name) != 0;
}

void clearFaults() {
    std::lock_guard<std::mutex> lock(faultMutex());
    enabledFaults().clear();
}

}  // namespace host
