#pragma once

#include <string>

namespace host::builtins {

// The scene as a command script that rebuilds it in a new scene: "requires" for the plug-ins
// whose node types are used, createNode for every node the new scene does not have, setAttr for
// storable values that differ from their defaults, connectAttr for every connection.
std::string sceneAsScript(const std::string& sceneName);

}  // namespace host::builtins
