#pragma once

#include <maya/MTypeId.h>

#include <map>
#include <string>
#include <vector>

namespace host {

// One loaded plug-in library and what it registered.
struct PluginRecord {
    std::string name;
    std::string path;
    void* handle = nullptr;
    std::string vendor = "Unknown";
    std::string version = "Unknown";
    std::string apiVersion;
    std::vector<MTypeId> nodeTypeIds;
    std::vector<std::string> nodeTypeNames;
    // MFnPlugin::registerUI: procedures run after loading and before unloading, the batch
    // ones in a batch session.
    std::string uiCreation;
    std::string uiDeletion;
    std::string uiBatchCreation;
    std::string uiBatchDeletion;
    int loadOrder = 0;
    bool loading = false;  // initializePlugin is running
};

class PluginRegistry {
public:
    static PluginRegistry& instance();

    PluginRecord* find(const std::string& name);
    PluginRecord& add(const std::string& name);
    void remove(const std::string& name);
    // Names, oldest first.
    std::vector<std::string> names() const;

    // The plug-in whose entry point is running; its registrations belong to it.
    const std::string& active() const { return active_; }
    void setActive(const std::string& name) { active_ = name; }

    std::vector<void (*)(const std::string&)>& cleanups() { return cleanups_; }

private:
    std::map<std::string, PluginRecord> records_;
    std::string active_;
    int nextOrder_ = 0;
    std::vector<void (*)(const std::string&)> cleanups_;
};

// Marks a plug-in's entry point as running for as long as it lives.
class ActivePluginScope {
public:
    explicit ActivePluginScope(const std::string& name);
    ~ActivePluginScope();
    ActivePluginScope(const ActivePluginScope&) = delete;
    ActivePluginScope& operator=(const ActivePluginScope&) = delete;

private:
    std::string previous_;
};

}  // namespace host
