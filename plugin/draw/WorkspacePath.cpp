#include "draw/WorkspacePath.h"

#include <maya/MGlobal.h>

namespace {

bool isRelative(const MString& path) {
    return path.length() > 0 && path.asChar()[0] != '/';
}

// The root ends with '/' as Maya gives it; a query that fails leaves the path as it is, read
// from the current folder.
MString withWorkspaceRoot(const MString& path) {
    MString root;
    if (!MGlobal::executeCommand("workspace -q -rootDirectory", root, false, false) ||
        root.length() == 0) {
        return path;
    }
    if (root.asChar()[root.length() - 1] != '/') {
        root += "/";
    }
    return root + path;
}

}  // namespace

const MString& WorkspacePath::resolve(const MString& path, int frame) {
    if (known && path == lastPath && frame == lastFrame) {
        return resolved;
    }
    resolved = isRelative(path) ? withWorkspaceRoot(path) : path;
    lastPath = path;
    lastFrame = frame;
    known = true;
    return resolved;
}

MString footagePath(const MString& path) {
    const MString expanded = path.expandFilePath();
    return isRelative(expanded) ? withWorkspaceRoot(expanded) : expanded;
}
