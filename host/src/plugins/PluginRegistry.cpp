#include "plugins/PluginRegistry.h"

#include <host/Plugins.h>

#include <algorithm>

namespace host {

PluginRegistry& PluginRegistry::instance() {
    static PluginRegistry registry;
    return registry;
}

PluginRecord* PluginRegistry::find(const std::string& name) {
    auto found = records_.find(name);
    return found == records_.end() ? nullptr : &found->second;
}

PluginRecord& PluginRegistry::add(const std::string& name) {
    PluginRecord& record = records_[name];
    record.name = name;
    record.loadOrder = nextOrder_++;
    return record;
}

void PluginRegistry::remove(const std::string& name) {
    records_.erase(name);
}

std::vector<std::string> PluginRegistry::names() const {
    std::vector<const PluginRecord*> ordered;
    for (const auto& entry : records_) {
        ordered.push_back(&entry.second);
    }
    std::sort(ordered.begin(), ordered.end(), [](const PluginRecord* a, const PluginRecord* b) {
        return a->loadOrder < b->loadOrder;
    });
    std::vector<std::string> result;
    for (const PluginRecord* record : ordered) {
        result.push_back(record->name);
    }
    return result;
}

ActivePluginScope::ActivePluginScope(const std::string& name)
    : previous_(PluginRegistry::instance().active()) {
    PluginRegistry::instance().setActive(name);
}

ActivePluginScope::~ActivePluginScope() {
    PluginRegistry::instance().setActive(previous_);
}

std::vector<std::string> loadedPlugins() {
    return PluginRegistry::instance().names();
}

bool isPluginLoaded(const std::string& name) {
    return PluginRegistry::instance().find(name) != nullptr;
}

std::string pluginVersion(const std::string& name) {
    PluginRecord* record = PluginRegistry::instance().find(name);
    return record ? record->version : "";
}

std::string activePlugin() {
    return PluginRegistry::instance().active();
}

void addPluginCleanup(PluginCleanup cleanup) {
    PluginRegistry::instance().cleanups().push_back(cleanup);
}

}  // namespace host
