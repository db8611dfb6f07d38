#pragma once

#include <string>

namespace host::builtins {

// The line a saved scene keeps its colour-management configuration in, for the scene to bring it
// back when opened (see SceneColorConfig.cpp).
std::string sceneColorConfigLine();

}  // namespace host::builtins
