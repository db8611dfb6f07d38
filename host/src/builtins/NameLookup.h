#pragma once

#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <string>

// Finding what a command's words name; each lookup that fails shows an error naming the word.
namespace host::builtins {

MStatus nodeByName(const std::string& name, MObject& node);

MStatus plugByName(const std::string& name, MPlug& plug);

}  // namespace host::builtins
