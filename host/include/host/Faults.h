#pragma once

#include <string>
#include <vector>

// Named failure switches that tests flip to make the host misbehave the way a real one can.
namespace host {

namespace fault {
// Transforms are created without "offsetParentMatrix", as in hosts older than 2020.
inline constexpr const char* kNoOffsetParentMatrix = "noOffsetParentMatrix";
// "colorManagementPrefs -q ..." fails.
inline constexpr const char* kColorManagementQuery = "colorManagementQuery";
// MThreadAsync::init fails.
inline constexpr const char* kTaskInit = "taskInit";
// MThreadAsync::createTask fails.
inline constexpr const char* kTaskCreate = "taskCreate";
// MTextureManager::acquireTexture returns null.
inline constexpr const char* kTextureAcquire = "textureAcquire";
// MTexture::update fails.
inline constexpr const char* kTextureUpdate = "textureUpdate";
// MPxNode::addAttribute fails, as it does in Maya for a name the node type already has.
inline constexpr const char* kAddAttribute = "addAttribute";
}  // namespace fault

// Every fault name the host understands.
const std::vector<std::string>& knownFaults();
bool isKnownFault(const std::string& name);
// Returns false, changing nothing, for an unknown name.
bool setFault(const std::string& name, bool enabled);
bool faultEnabled(const std::string& name);
void clearFaults();

}  // namespace host
