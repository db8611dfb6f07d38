#include "builtins/NameLookup.h"

#include <host/PlugText.h>
#include <host/Scene.h>

#include "builtins/BuiltinSupport.h"

namespace host::builtins {

MStatus nodeByName(const std::string& name, MObject& node) {
    if (!findNode(MString(name.c_str()), node)) {
        return fail("No object matches name: " + name);
    }
    return MStatus::kSuccess;
}

MStatus plugByName(const std::string& name, MPlug& plug) {
    if (!findPlugByName(MString(name.c_str()), plug)) {
        return fail("No object matches name: " + name);
    }
    return MStatus::kSuccess;
}

}  // namespace host::builtins
