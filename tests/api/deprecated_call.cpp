// A member Maya has deprecated fails a -Werror build.
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>

MStatus plugValue(const MObject& node) {
    MStatus status;
    MFnDependencyNode(node).findPlug("file", &status);
    return status;
}
