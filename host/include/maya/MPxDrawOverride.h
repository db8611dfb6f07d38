#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MBoundingBox.h>
#include <maya/MDagPath.h>
#include <maya/MDeprecate.h>
#include <maya/MFrameContext.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MString.h>
#include <maya/MUIDrawManager.h>
#include <maya/MUserData.h>
#include <maya/MViewport2Renderer.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MSelectionMask;

namespace MHWRender {

class MDrawContext;
class MRenderItem;
class MSelectionContext;
class MSelectionInfo;

// Base class of a plug-in's Viewport 2.0 drawing for one DAG node. The host makes one per
// drawn node with the creator registered for the node type's draw classification. At every
// refresh it calls prepareForDraw and then, when hasUIDrawables, addUIDrawables with the data
// prepareForDraw returned. This host prepares every override at every refresh (as if always
// dirty) and draws UI drawables only, so the draw callback is never called.
class MPxDrawOverride {
public:
    typedef void (*GeometryDrawOverrideCb)(const MDrawContext& context, const MUserData* data);

    MPxDrawOverride(const MObject& obj, GeometryDrawOverrideCb callback, bool isAlwaysDirty = true);
    virtual ~MPxDrawOverride();

    virtual DrawAPI supportedDrawAPIs() const;
    virtual bool hasUIDrawables() const;
    virtual MMatrix transform(const MDagPath& objPath, const MDagPath& cameraPath) const;
    virtual MBoundingBox boundingBox(const MDagPath& objPath, const MDagPath& cameraPath) const;
    virtual bool isBounded(const MDagPath& objPath, const MDagPath& cameraPath) const;
    virtual bool disableInternalBoundingBoxDraw() const;
    virtual bool excludedFromPostEffects() const;
    virtual bool isTransparent() const;
    virtual MUserData* prepareForDraw(const MDagPath& objPath, const MDagPath& cameraPath,
                                      const MFrameContext& frameContext, MUserData* oldData) = 0;
    virtual void addUIDrawables(const MDagPath& objPath, MUIDrawManager& drawManager,
                                const MFrameContext& frameContext, const MUserData* data);
    virtual bool refineSelectionPath(const MSelectionInfo& selectInfo, const MRenderItem& hitItem,
                                     MDagPath& path, MObject& components,
                                     MSelectionMask& objectMask);
    virtual void updateSelectionGranularity(const MDagPath& path,
                                            MSelectionContext& selectionContext);
    virtual bool traceCallSequence() const;
    virtual void handleTraceMessage(const MString& message) const;
    virtual bool wantUserSelection() const;
    OPENMAYA_DEPRECATED(2019, "Use the MPointArray form.")
    virtual bool userSelect(MSelectionInfo& selectInfo, const MDrawContext& context,
                            MPoint& hitPoint, const MUserData* data);

    MPxDrawOverride(const MPxDrawOverride&) = delete;
    MPxDrawOverride& operator=(const MPxDrawOverride&) = delete;
};

}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE
