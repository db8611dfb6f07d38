// Compiles against Maya's headers: the same flags must accept the snippets' valid parts.
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MTextureManager.h>

MStatus plugValue(const MObject& node) {
    MStatus status;
    MFnDependencyNode(node).findPlug("file", true, &status);
    return status;
}

MHWRender::MTexture* noTexture() {
    return nullptr;
}
