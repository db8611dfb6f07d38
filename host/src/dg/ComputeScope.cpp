#include "dg/ComputeScope.h"

#include <host/CommandsInCompute.h>
#include <host/Messages.h>

#include <atomic>
#include <mutex>
#include <set>

namespace host {
namespace {

std::atomic<std::size_t> commandCount{0};
// The type of the node the thread computes; null outside compute.
thread_local const std::string* computingType = nullptr;

std::mutex& warnedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::set<std::string>& warnedTypes() {
    static std::set<std::string> types;
    return types;
}

}  // namespace

std::size_t commandsInCompute() {
    return commandCount;
}

void resetCommandsInCompute() {
    std::lock_guard<std::mutex> lock(warnedMutex());
    warnedTypes().clear();
    commandCount = 0;
}

namespace dg {

ComputeScope::ComputeScope(const MString& typeName)
    : typeName_(typeName.asChar()), outer_(computingType) {
    computingType = &typeName_;
}

ComputeScope::~ComputeScope() {
    computingType = outer_;
}

void noteCommand(const MString& command) {
    if (computingType == nullptr) {
        return;
    }
    ++commandCount;
    {
        std::lock_guard<std::mutex> lock(warnedMutex());
        if (!warnedTypes().insert(*computingType).second) {
            return;
        }
    }
    showMessage(MessageKind::kWarning,
                std::string(command.asChar()) + " run from the compute of " + *computingType);
}

}  // namespace dg
}  // namespace host
