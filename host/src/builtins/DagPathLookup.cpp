#include "builtins/DagPathLookup.h"

#include <maya/MSelectionList.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/NameLookup.h"

namespace host::builtins {

MStatus dagPathByName(const std::string& name, MDagPath& path) {
    MObject node;
    if (!nodeByName(name, node)) {
        return MStatus::kFailure;
    }
    MSelectionList named;
    if (!node.hasFn(MFn::kDagNode) || !named.add(MString(name.c_str())) ||
        !named.getDagPath(0, path)) {
        return fail(name + " is not a DAG object");
    }
    return MStatus::kSuccess;
}

}  // namespace host::builtins
