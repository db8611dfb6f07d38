#pragma once

#include <maya/MDGModifier.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <string>
#include <vector>

// Plug values as the host's commands read and write them: getAttr and setAttr text, and what a
// scene file needs to write the scene as a script of createNode, setAttr and connectAttr.
namespace host {

// "node.attribute", "node.attribute[3]", "node.compound.child", "|path|node.attribute"; the
// attribute by long or short name. kInvalidParameter when the node or attribute is unknown.
MStatus findPlugByName(const MString& name, MPlug& plug);

// getAttr text: numbers so that they read back within 1e-6 ("3", "0.945"), integers and booleans
// as 0/1, enums as their index, angles in degrees, times in the UI unit, strings as they are,
// matrices as 16 numbers; a compound gives its children's values; all separated by one space.
MString plugValueText(const MPlug& plug);

// setAttr: numbers ("true"/"false"/"on"/"off"/"yes"/"no" for booleans), one per child for a
// compound; typeFlag "string" takes one string, "matrix" 16 numbers, "double3" three numbers.
// Numbers are clamped to the attribute's limits; a connected destination is refused.
MStatus setPlugFromText(const MPlug& plug, const std::vector<std::string>& values,
                        const std::string& typeFlag);
// The same, but queued on the modifier (carried out, and undoable, with its doIt).
MStatus setPlugFromText(const MPlug& plug, const std::vector<std::string>& values,
                        const std::string& typeFlag, MDGModifier& modifier);

// One setAttr line of a saved scene: setPlugFromText(plug, values, typeFlag) restores it.
struct SavedPlugValue {
    std::string attribute;  // name on the node, e.g. "translateX", "worldMatrix[0]"
    std::vector<std::string> values;
    std::string typeFlag;  // "" for numbers, "string" or "matrix"
};
// Every storable value of the node that differs from its default and is not driven by a
// connection, in attribute order.
std::vector<SavedPlugValue> savedPlugValues(const MObject& node);
// The setAttr line of one plug of a number, string or matrix attribute, default or not.
SavedPlugValue savedPlugValue(const MPlug& plug);

struct SceneConnection {
    std::string source;       // "node.attribute"
    std::string destination;  // "node.attribute"
};
// Every connection between nodes of the scene, in the order they were made.
std::vector<SceneConnection> sceneConnections();

// Why connectAttr would refuse to connect the plugs, as the user is told ("... already has an
// incoming connection."); "" when the connection can be made.
std::string connectionProblem(const MPlug& source, const MPlug& destination);

MString nodeTypeName(const MObject& node);
// Name of the DAG parent the node was made under (its first); "" under the world and for nodes
// outside the DAG.
MString dagParentName(const MObject& node);

}  // namespace host
