#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTime.h>
#include <maya/MTypeId.h>

#include <memory>

namespace host {
class ModifierOperations;
}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Queue of graph changes carried out by doIt and reverted, newest first, by undoIt. Operations
// queued after a doIt are carried out by the next doIt. Nodes created or deleted here stay alive
// while the modifier lives, so that undo and redo bring back the same objects.
class MDGModifier {
public:
    MDGModifier();
    virtual ~MDGModifier();
    MDGModifier(const MDGModifier&) = delete;
    MDGModifier& operator=(const MDGModifier&) = delete;

    // The node exists at once but enters the scene only at doIt.
    MObject createNode(const MTypeId& typeId, MStatus* ReturnStatus = nullptr);
    MObject createNode(const MString& type, MStatus* ReturnStatus = nullptr);
    MStatus deleteNode(const MObject& node);
    MStatus deleteNode(const MObject& node, bool includeParents);
    MStatus renameNode(const MObject& node, const MString& newName);

    // Refused at doIt: not connectable, incompatible types, a destination already connected.
    MStatus connect(const MObject& sourceNode, const MObject& sourceAttr, const MObject& destNode,
                    const MObject& destAttr);
    MStatus connect(const MPlug& source, const MPlug& dest);
    MStatus disconnect(const MObject& sourceNode, const MObject& sourceAttr,
                       const MObject& destNode, const MObject& destAttr);
    MStatus disconnect(const MPlug& source, const MPlug& dest);

    MStatus newPlugValue(const MPlug& plug, MObject& plugValue);
    MStatus newPlugValueBool(const MPlug& plug, bool plugValue);
    MStatus newPlugValueChar(const MPlug& plug, char plugValue);
    MStatus newPlugValueDouble(const MPlug& plug, double plugValue);
    MStatus newPlugValueFloat(const MPlug& plug, float plugValue);
    MStatus newPlugValueInt(const MPlug& plug, int plugValue);
    MStatus newPlugValueShort(const MPlug& plug, short plugValue);
    MStatus newPlugValueString(const MPlug& plug, const MString& plugValue);
    MStatus newPlugValueMTime(const MPlug& plug, const MTime& plugValue);

    // Carries out the operations not yet done. A failing operation is dropped from the queue;
    // the others are still carried out and the first failure is returned.
    MStatus doIt();
    MStatus undoIt();

protected:
    std::unique_ptr<host::ModifierOperations> operations_;
};

OPENMAYA_NAMESPACE_CLOSE
