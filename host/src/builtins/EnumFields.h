#pragma once

#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <string>

// An enum attribute's field names, as getAttr -asString and attributeQuery -listEnum give them.
// Maya gives them in the UI language (getAttr's help); the stand-in has English only.
namespace host::builtins {

// The name of the field the enum plug holds. Fails, with the error shown, for a plug of another
// attribute type or a value no field has.
MStatus enumFieldOfPlug(const MPlug& plug, MString& name);

// "a:b:c" in index order, a field whose index does not follow the one before written "d=5".
std::string enumFieldList(const MObject& attribute);

}  // namespace host::builtins
