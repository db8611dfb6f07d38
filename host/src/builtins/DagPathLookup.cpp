#include "builtins/DagPathLookup.h"

#include <maya/MDagPathArray.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/NameLookup.h"

namespace host::builtins {

MStatus dagPathByName(const std::string& name, MDagPath& path) {
    MObject node;
    if (!nodeByName(name, node)) {
        return MStatus::kFailure;
    }
    MDagPathArray paths;
    if (!node.hasFn(MFn::kDagNode) || !MDagPath::getAllPathsTo(node, paths) ||
        paths.length() == 0) {
        return fail(name + " is not a DAG object");
    }
    path = paths[0];
    if (name.find('|') == std::string::npos) {
        return MStatus::kSuccess;
    }
    for (unsigned int i = 0; i < paths.length(); ++i) {
        const std::string full = paths[i].fullPathName().asChar();
        const bool matches = name[0] == '|' ? full == name
                                            : full.size() > name.size() &&
                                                  full.compare(full.size() - name.size() - 1,
                                                               std::string::npos, "|" + name) == 0;
        if (matches) {
            path = paths[i];
            return MStatus::kSuccess;
        }
    }
    return fail("No object matches name: " + name);
}

}  // namespace host::builtins
