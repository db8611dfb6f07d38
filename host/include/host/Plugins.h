#pragma once

#include <maya/MStatus.h>

#include <string>
#include <vector>

// Plug-in libraries loaded into the host.
namespace host {

// Loads a plug-in from a path, or by name ("CineSheet" finds libCineSheet.so or CineSheet.so in
// the folders of MAYA_PLUG_IN_PATH, then the current folder). The plug-in's name is the file
// name without a "lib" prefix and the ".so" suffix. Fails when a plug-in of that name is loaded,
// when the library cannot be opened, or when initializePlugin fails; a failed library is closed
// and whatever it registered is removed.
MStatus loadPlugin(const std::string& pathOrName, std::string* pluginName = nullptr);
// Calls uninitializePlugin and closes the library. Refused while nodes of the plug-in's types
// exist, unless force, which deletes them first. Unloading empties the undo queue.
MStatus unloadPlugin(const std::string& name, bool force = false);
// Unloads every plug-in, newest first, deleting their nodes.
void unloadAllPlugins();

// "path/libCineSheet.so" -> "CineSheet".
std::string pluginNameFromPath(const std::string& path);
// The name loadPlugin would give the plug-in it finds for pathOrName; "" when it finds none.
std::string pluginNameOf(const std::string& pathOrName);

std::vector<std::string> loadedPlugins();
bool isPluginLoaded(const std::string& name);
std::string pluginVersion(const std::string& name);
// The plug-in whose initializePlugin or uninitializePlugin is running ("" when none).
std::string activePlugin();

// Called with a plug-in's name after its uninitializePlugin ran or its initializePlugin failed,
// while its library is still open, so that registries can drop (and destroy) what it left
// behind before the commands and node types it registered go.
using PluginCleanup = void (*)(const std::string& pluginName);
void addPluginCleanup(PluginCleanup cleanup);

}  // namespace host
