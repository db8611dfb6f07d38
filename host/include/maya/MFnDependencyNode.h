#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDeprecate.h>
#include <maya/MFnBase.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MPlugArray;
class MPxNode;

// Function set for every node of the dependency graph.
class MFnDependencyNode : public MFnBase {
public:
    enum MAttrClass { kLocalDynamicAttr = 1, kNormalAttr, kExtensionAttr, kInvalidAttr };

    MFnDependencyNode();
    MFnDependencyNode(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnDependencyNode() override;

    MFn::Type type() const override;

    // Creates a node directly in the scene (not undoable); DAG types go under the world.
    MObject create(const MTypeId& typeId, MStatus* ReturnStatus = nullptr);
    MObject create(const MTypeId& typeId, const MString& name, MStatus* ReturnStatus = nullptr);
    MObject create(const MString& type, MStatus* ReturnStatus = nullptr);
    MObject create(const MString& type, const MString& name, MStatus* ReturnStatus = nullptr);

    MTypeId typeId(MStatus* ReturnStatus = nullptr) const;
    MString typeName(MStatus* ReturnStatus = nullptr) const;
    MString name(MStatus* ReturnStatus = nullptr) const;
    MString absoluteName(MStatus* ReturnStatus = nullptr) const;
    // "#" becomes the smallest number that makes the name unique; a taken name gets a number.
    MString setName(const MString& name, bool createNamespace = false,
                    MStatus* ReturnStatus = nullptr);
    MString pluginName(MStatus* ReturnStatus = nullptr) const;

    MStatus getConnections(MPlugArray& array) const;

    unsigned int attributeCount(MStatus* ReturnStatus = nullptr) const;
    MObject attribute(unsigned int index, MStatus* ReturnStatus = nullptr) const;
    MObject attribute(const MString& attrName, MStatus* ReturnStatus = nullptr) const;
    MAttrClass attributeClass(const MObject& attribute, MStatus* ReturnStatus = nullptr) const;
    bool hasAttribute(const MString& name, MStatus* ReturnStatus = nullptr) const;

    // By long or short name; a name the node does not have fails with kInvalidParameter.
    MPlug findPlug(const MObject& attribute, bool wantNetworkedPlug,
                   MStatus* ReturnStatus = nullptr) const;
    MPlug findPlug(const MString& attrName, bool wantNetworkedPlug,
                   MStatus* ReturnStatus = nullptr) const;
    OPENMAYA_DEPRECATED(2019, "Use findPlug(attribute, wantNetworkedPlug, ReturnStatus).")
    MPlug findPlug(const MObject& attribute, MStatus* ReturnStatus = nullptr) const;
    OPENMAYA_DEPRECATED(2019, "Use findPlug(attrName, wantNetworkedPlug, ReturnStatus).")
    MPlug findPlug(const MString& attrName, MStatus* ReturnStatus = nullptr) const;

    MPxNode* userNode(MStatus* ReturnStatus = nullptr) const;
    bool isFromReferencedFile(MStatus* ReturnStatus = nullptr) const;
    bool isDefaultNode(MStatus* ReturnStatus = nullptr) const;
};

OPENMAYA_NAMESPACE_CLOSE
