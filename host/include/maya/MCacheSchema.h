#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDeprecate.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// The attributes Cached Playback stores for a node, handed to configCache. It can be neither
// made nor destroyed by a plug-in, and must not be kept. (Maya's attributes() range and its
// iterator are not modelled: nothing here reads the list back.)
class OPENMAYA_AVAILABLE(2020) MCacheSchema {
public:
    OPENMAYA_DEPRECATED(2022, "This function is deprecated, see warning.")
    void reset();
    // Forces the attribute to be cached; kInvalidParameter when it is not an attribute.
    MStatus add(const MObject& attribute);

private:
    MCacheSchema() = delete;
    ~MCacheSchema() = delete;
};

OPENMAYA_NAMESPACE_CLOSE
