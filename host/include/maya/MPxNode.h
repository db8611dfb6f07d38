#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDataBlock.h>
#include <maya/MDeprecate.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

namespace host {
class Node;
struct Access;
}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Base class of node types written by plug-ins. The host creates an instance through the type's
// creator for every node of the type, and calls compute() when an output is read while dirty.
class MPxNode {
public:
    enum Type {
        kDependNode,
        kLocatorNode,
        kDeformerNode,
        kManipContainer,
        kSurfaceShape,
        kFieldNode,
        kEmitterNode,
        kSpringNode,
        kIkSolverNode,
        kHardwareShader,
        kHwShaderNode,
        kTransformNode,
        kObjectSet,
        kFluidEmitterNode,
        kImagePlaneNode,
        kParticleAttributeMapperNode,
        kCameraSetNode,
        kConstraintNode,
        kManipulatorNode,
        kMotionPathNode,
        kClientDeviceNode,
        kThreadedDeviceNode,
        kAssembly,
        kSkinCluster,
        kGeometryFilter,
        kBlendShape,
        kLast,
    };

    // How the Evaluation Manager may run the node's compute beside others' (MPxNode.h). Maya
    // 2024 numbers kParallel from 1, 2022 and 2023 from 0; the names are what plug-ins use.
    enum SchedulingType {
#if MAYA_API_VERSION >= 20240000
        kParallel = 1,
#else
        kParallel,
#endif
        kSerial,
        kGloballySerial,
        kUntrusted,
        kSchedulingTypeLast,
        // Obsolete aliases, still declared.
        kDefaultScheduling = kSerial,
        kSerialize = kSerial,
        kGloballySerialize = kGloballySerial,
    };

    MPxNode();
    virtual ~MPxNode();

    // Called once the node exists in the host, before it is used.
    virtual void postConstructor();
    // Returning kUnknownParameter leaves the plug's value alone.
    virtual MStatus compute(const MPlug& plug, MDataBlock& dataBlock);
    virtual MStatus connectionMade(const MPlug& plug, const MPlug& otherPlug, bool asSrc);
    virtual MStatus connectionBroken(const MPlug& plug, const MPlug& otherPlug, bool asSrc);
    virtual Type type() const;
    virtual bool isAbstractClass() const;
    virtual MTypeId typeId() const;
    virtual MString typeName() const;
    virtual MString name() const;
    virtual MObject thisMObject() const;
    virtual SchedulingType schedulingType() const;

    // Cached Playback: what the node asks for, and which of its attributes are stored. The base
    // (its behaviour is not documented) disables nothing and asks for nothing.
    OPENMAYA_AVAILABLE(2020)
    virtual void getCacheSetup(const MEvaluationNode& evalNode,
                               MNodeCacheDisablingInfo& disablingInfo,
                               MNodeCacheSetupInfo& cacheSetupInfo,
                               MObjectArray& monitoredAttributes) const;
    OPENMAYA_AVAILABLE(2020)
    virtual void configCache(const MEvaluationNode& evalNode, MCacheSchema& schema) const;
    // The node's data block, as compute() is given it; lets a caller drive compute() itself.
    MDataBlock _forceCache() {
        return forceCache();
    }

    // For use in a type's initialize function: they apply to the type being registered.
    static MStatus addAttribute(const MObject& attr);
    static MStatus attributeAffects(const MObject& whenChanges, const MObject& isAffected);

protected:
    virtual MDataBlock forceCache();

private:
    friend struct host::Access;
    host::Node* hostNode_ = nullptr;
};

OPENMAYA_NAMESPACE_CLOSE
