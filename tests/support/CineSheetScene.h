#pragma once

#include <string>

// Set-up shared by the fixtures that drive CineSheet nodes directly, without loading the plug-in.
namespace testsupport {

// The host as it starts: no faults, the default colour management, an empty scene, an empty
// undo queue and no messages counted; then the CineSheet node type registered anew.
void freshSceneWithCineSheet(const std::string& pluginName);
// Registers the CineSheet node type as the plug-in does, replacing any earlier registration, so
// that it reads the host's colour configuration again. A fatal test failure when it fails.
void reregisterCineSheet(const std::string& pluginName);

}  // namespace testsupport
