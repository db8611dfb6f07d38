#include "node/WorkspacePath.h"

#include <maya/MGlobal.h>

namespace {

bool isRelative(const MString& path) {
    return path.length() > 0 && path.asChar()[0] != '/';
}

MString inRoot(const MString& path, const MString& root) {
    return isRelative(path) && root.length() > 0 ? root + path : path;
}

}  // namespace

MString workspaceRoot() {
    MString root;
    if (!MGlobal::executeCommand("workspace -q -rootDirectory", root, false, false) ||
        root.length() == 0) {
        return MString();
    }
    if (root.asChar()[root.length() - 1] != '/') {
        root += "/";
    }
    return root;
}

const MString& WorkspacePath::resolve(const MString& path, int frame) {
    if (known && path == lastPath && frame == lastFrame) {
        return resolved;
    }
    if (isRelative(path)) {
        root_ = workspaceRoot();
    }
    resolved = inRoot(path, root_);
    lastPath = path;
    lastFrame = frame;
    known = true;
    return resolved;
}

MString footagePath(const MString& path, const MString& root) {
    return inRoot(path.expandFilePath(), root);
}
