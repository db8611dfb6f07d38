#include <host/Commands.h>
#include <host/Interface.h>
#include <host/Messages.h>
#include <host/NodeTypes.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/UndoQueue.h>
#include <maya/MDGModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MTypes.h>

#include "commands/CommandTable.h"
#include "plugins/PluginRegistry.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <sstream>

namespace host {
namespace {

using EntryPoint = MStatus (*)(MObject);

MStatus fail(const std::string& message) {
    showMessage(MessageKind::kError, message);
    return MStatus::kFailure;
}

bool fileExists(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

// A name without a folder is looked for in MAYA_PLUG_IN_PATH, then the current folder.
std::string findLibrary(const std::string& pathOrName) {
    if (pathOrName.find('/') != std::string::npos) {
        return fileExists(pathOrName) ? pathOrName : "";
    }
    std::vector<std::string> folders;
    if (const char* searchPath = std::getenv("MAYA_PLUG_IN_PATH")) {
        std::stringstream list(searchPath);
        for (std::string folder; std::getline(list, folder, ':');) {
            if (!folder.empty()) {
                folders.push_back(folder);
            }
        }
    }
    folders.push_back(".");
    for (const std::string& folder : folders) {
        for (const std::string& file : {pathOrName, pathOrName + ".so"}) {
            std::string candidate = folder + "/" + file;
            if (fileExists(candidate)) {
                return candidate;
            }
        }
    }
    return "";
}

#define HOST_TEXT_OF(name) #name
#define HOST_TEXT(name) HOST_TEXT_OF(name)

// The symbol of `MStatus name(MObject)`: MObject lives in the API's versioned namespace, so a
// plug-in built against another major version has other names and is not found.
std::string mangledEntryPoint(const std::string& name) {
    const std::string versioned = HOST_TEXT(OPENMAYA_MAJOR_NAMESPACE);
    return "_Z" + std::to_string(name.size()) + name + "N8Autodesk4Maya" +
           std::to_string(versioned.size()) + versioned + "7MObjectE";
}

EntryPoint findEntryPoint(void* handle, const std::string& mangled, const char* plain) {
    void* symbol = dlsym(handle, mangled.c_str());
    if (!symbol) {
        symbol = dlsym(handle, plain);
    }
    return reinterpret_cast<EntryPoint>(symbol);
}

MStatus callEntryPoint(EntryPoint entry, const std::string& pluginName) {
    ActivePluginScope scope(pluginName);
    try {
        return entry(MObject());
    } catch (const std::exception& error) {
        showMessage(MessageKind::kError, pluginName + ": " + error.what());
        return MStatus::kFailure;
    }
}

// Drops whatever the plug-in left registered, so nothing points into a closed library. The
// registries' own cleanups go first: draw overrides they destroy may still read their nodes.
void removeRegistrations(PluginRecord& record) {
    for (PluginCleanup cleanup : PluginRegistry::instance().cleanups()) {
        cleanup(record.name);
    }
    for (const std::string& command : CommandTable::instance().namesOf(record.name)) {
        CommandTable::instance().remove(command);
    }
    for (const MTypeId& id : record.nodeTypeIds) {
        deregisterPluginNodeType(id);
    }
    record.nodeTypeIds.clear();
    record.nodeTypeNames.clear();
}

void closeAndForget(PluginRecord& record) {
    removeRegistrations(record);
    void* handle = record.handle;
    std::string name = record.name;
    PluginRegistry::instance().remove(name);
    dlclose(handle);
}

bool apiVersionTooNew(const std::string& required) {
    char* end = nullptr;
    long version = std::strtol(required.c_str(), &end, 10);
    return end != required.c_str() && *end == '\0' && version > MAYA_API_VERSION;
}

std::vector<MObject> nodesOfPlugin(const PluginRecord& record) {
    std::vector<MObject> nodes;
    for (const MObject& node : sceneNodes()) {
        std::string type = MFnDependencyNode(node).typeName().asChar();
        if (std::find(record.nodeTypeNames.begin(), record.nodeTypeNames.end(), type) !=
            record.nodeTypeNames.end()) {
            nodes.push_back(node);
        }
    }
    return nodes;
}

MStatus deleteNodes(const std::vector<MObject>& nodes) {
    MDGModifier modifier;
    for (MObject node : nodes) {
        MStatus status = modifier.deleteNode(node);
        if (!status) {
            return status;
        }
    }
    return modifier.doIt();
}

// A plug-in's UI procedure: the interactive one, or in a batch session the batch one. Its
// failure is shown but changes nothing for the plug-in, which stays loaded (or unloads).
void runUiProcedure(const std::string& pluginName, const std::string& interactiveProcedure,
                    const std::string& batchProcedure) {
    const std::string& procedure = interactiveSession() ? interactiveProcedure : batchProcedure;
    if (procedure.empty()) {
        return;
    }
    ScriptOptions options;
    options.recordUndo = false;
    if (!runScript(procedure + ";", options)) {
        showMessage(MessageKind::kWarning,
                    "Plug-in \"" + pluginName + "\": its UI procedure " + procedure + " failed");
    }
}

}  // namespace

// As in Maya on Linux, a plug-in is named after its file without the extension:
// libCineSheet.so is the plug-in "libCineSheet".
std::string pluginNameFromPath(const std::string& path) {
    std::string name = path.substr(path.rfind('/') + 1);
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".so") == 0) {
        name.erase(name.size() - 3);
    }
    return name;
}

std::string pluginNameOf(const std::string& pathOrName) {
    const std::string path = findLibrary(pathOrName);
    return path.empty() ? "" : pluginNameFromPath(path);
}

MStatus loadPlugin(const std::string& pathOrName, std::string* pluginName) {
    std::string path = findLibrary(pathOrName);
    if (path.empty()) {
        return fail("Plug-in \"" + pathOrName + "\" was not found");
    }
    std::string name = pluginNameFromPath(path);
    if (pluginName) {
        *pluginName = name;
    }
    PluginRegistry& registry = PluginRegistry::instance();
    if (registry.find(name)) {
        return fail("Plug-in \"" + name + "\" is already loaded");
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        return fail("Plug-in \"" + name + "\" could not be opened: " + (reason ? reason : ""));
    }
    auto* apiVersion = static_cast<const char*>(dlsym(handle, "MApiVersion"));
    EntryPoint initialize =
        findEntryPoint(handle, mangledEntryPoint("initializePlugin"), "initializePlugin");
    EntryPoint uninitialize =
        findEntryPoint(handle, mangledEntryPoint("uninitializePlugin"), "uninitializePlugin");
    if (!initialize || !uninitialize) {
        dlclose(handle);
        return fail("Plug-in \"" + name + "\" has no initializePlugin/uninitializePlugin");
    }
    if (apiVersion && apiVersionTooNew(apiVersion)) {
        dlclose(handle);
        return fail("Plug-in \"" + name + "\" needs API version " + apiVersion +
                    ", newer than this host's " + std::to_string(MAYA_API_VERSION));
    }
    PluginRecord& record = registry.add(name);
    record.path = path;
    record.handle = handle;
    record.apiVersion = apiVersion ? apiVersion : "";
    record.loading = true;
    MStatus status = callEntryPoint(initialize, name);
    registry.find(name)->loading = false;
    if (!status) {
        closeAndForget(*registry.find(name));
        return fail("initializePlugin function failed (" + name + ")");
    }
    const PluginRecord& loaded = *registry.find(name);
    runUiProcedure(name, loaded.uiCreation, loaded.uiBatchCreation);
    return MStatus::kSuccess;
}

MStatus unloadPlugin(const std::string& name, bool force) {
    PluginRegistry& registry = PluginRegistry::instance();
    PluginRecord* record = registry.find(name);
    if (!record) {
        return fail("Plug-in \"" + name + "\" is not loaded");
    }
    std::vector<MObject> nodes = nodesOfPlugin(*record);
    if (!nodes.empty() && !force) {
        return fail("Plug-in \"" + name + "\" is in use: " + std::to_string(nodes.size()) +
                    " node(s) of its types exist (unloadPlugin -f deletes them)");
    }
    // Commands and nodes kept for undo may run the plug-in's code when they go.
    UndoQueue::instance().clear();
    if (!nodes.empty()) {
        MStatus status = deleteNodes(nodes);
        if (!status) {
            return fail("The nodes of plug-in \"" + name + "\" could not be deleted");
        }
    }
    runUiProcedure(name, record->uiDeletion, record->uiBatchDeletion);
    // The procedure may have unloaded the plug-in itself.
    record = registry.find(name);
    if (record == nullptr) {
        return MStatus::kSuccess;
    }
    auto uninitialize = findEntryPoint(record->handle, mangledEntryPoint("uninitializePlugin"),
                                       "uninitializePlugin");
    if (!callEntryPoint(uninitialize, name)) {
        return fail("uninitializePlugin function failed (" + name + ")");
    }
    closeAndForget(*registry.find(name));
    return MStatus::kSuccess;
}

void unloadAllPlugins() {
    std::vector<std::string> names = PluginRegistry::instance().names();
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        unloadPlugin(*name, true);
    }
}

}  // namespace host
