#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

namespace MHWRender {

class MPxDrawOverride;

// Where plug-ins register the draw overrides of their node types, by draw classification
// ("drawdb/geometry/...", as given when the node type was registered).
class MDrawRegistry {
public:
    typedef MPxDrawOverride* (*DrawOverrideCreator)(const MObject& obj);

    // Fails when the classification already has a draw override creator. Nodes of types with
    // this classification that already exist get their draw overrides at once.
    static MStatus registerDrawOverrideCreator(const MString& drawClassification,
                                               const MString& registrantId,
                                               DrawOverrideCreator creator);
    // Destroys the draw overrides made by the creator, then forgets it. Fails when the
    // classification and registrant do not match a registration.
    static MStatus deregisterDrawOverrideCreator(const MString& drawClassification,
                                                 const MString& registrantId);

    MDrawRegistry() = delete;
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
