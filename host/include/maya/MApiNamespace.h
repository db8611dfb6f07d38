#pragma once

// Like Maya's own headers, every API class lives in a namespace named after the API's major
// version and is brought to the global scope (and to MHWRender) by using-declarations. A plug-in
// that forward-declares an API class itself therefore fails to compile here as it would there.

// The API version this stand-in presents: Maya 2024.2 unless the build chooses another with the
// CMake option CINESHEET_MAYA_API (20220300 presents Maya 2022.3).
#ifndef MAYA_API_VERSION
#define MAYA_API_VERSION 20240200
#endif
#define MAYA_APP_VERSION (MAYA_API_VERSION / 10000)

#if MAYA_API_VERSION >= 20240000
#define OPENMAYA_MAJOR_NAMESPACE OpenMaya20240000
#elif MAYA_API_VERSION >= 20230000
#define OPENMAYA_MAJOR_NAMESPACE OpenMaya20230000
#else
#define OPENMAYA_MAJOR_NAMESPACE OpenMaya20220000
#endif
#define OPENMAYA_MAJOR_NAMESPACE_OPEN \
    namespace Autodesk {              \
    namespace Maya {                  \
    namespace OPENMAYA_MAJOR_NAMESPACE {
#define OPENMAYA_NAMESPACE_CLOSE \
    }                            \
    }                            \
    }

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MAngle;
class MAnimControl;
class MArgDatabase;
class MArgList;
class MArgParser;
class MBoundingBox;
class MCacheSchema;
class MColor;
class MColorArray;
class MCommandResult;
class MConditionMessage;
class MDGModifier;
class MDagModifier;
class MDagPath;
class MDagPathArray;
class MDataBlock;
class MDataHandle;
class MDistance;
class MDoubleArray;
class MEulerRotation;
class MEvaluationNode;
class MEventMessage;
class MFileIO;
class MFloatMatrix;
class MFloatPoint;
class MFloatPointArray;
class MFn;
class MFnAttribute;
class MFnBase;
class MFnCompoundAttribute;
class MFnDagNode;
class MFnData;
class MFnDependencyNode;
class MFnEnumAttribute;
class MFnMatrixAttribute;
class MFnMatrixData;
class MFnNumericAttribute;
class MFnNumericData;
class MFnPlugin;
class MFnReference;
class MFnStringData;
class MFnTypedAttribute;
class MFnUnitAttribute;
class MGlobal;
class MImage;
class MMessage;
class MIntArray;
class MMatrix;
class MNodeCacheDisablingInfo;
class MNodeCacheDisablingInfoHelper;
class MNodeCacheSetupInfo;
class MObject;
class MObjectArray;
class MPlug;
class MPlugArray;
class MPoint;
class MPointArray;
class MPxCommand;
class MPxLocatorNode;
class MPxNode;
class MSceneMessage;
class MSelectionList;
class MSelectionMask;
class MSpace;
class MStatus;
class MString;
class MStringArray;
class MSyntax;
class MThreadAsync;
class MThreadRootTask;
class MTime;
class MTransformationMatrix;
class MTypeId;
class MUintArray;
class MUserData;
class MVector;
class MVectorArray;

namespace MHWRender {
class MBlendState;
class MDrawContext;
class MPassContext;
class MDrawRegistry;
class MFrameContext;
class MPxDrawOverride;
class MRenderItem;
class MRenderer;
class MSamplerState;
class MSelectionContext;
class MSelectionInfo;
class MTexture;
class MTextureDescription;
class MTextureManager;
class MTextureUpdateRegion;
class MUIDrawManager;
}  // namespace MHWRender

OPENMAYA_NAMESPACE_CLOSE

using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MAngle;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MAnimControl;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MArgDatabase;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MArgList;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MArgParser;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MBoundingBox;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MCacheSchema;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MColor;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MColorArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MCommandResult;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MConditionMessage;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MDagModifier;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MDagPath;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MDagPathArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MDataBlock;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MDataHandle;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MDGModifier;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MDistance;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MDoubleArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MEulerRotation;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MEvaluationNode;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MEventMessage;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFileIO;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFloatMatrix;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFloatPoint;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFloatPointArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFn;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnAttribute;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnBase;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnCompoundAttribute;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnDagNode;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnData;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnDependencyNode;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnEnumAttribute;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnMatrixAttribute;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnMatrixData;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnNumericAttribute;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnNumericData;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnPlugin;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnReference;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnStringData;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnTypedAttribute;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MFnUnitAttribute;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MGlobal;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MImage;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MIntArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MMatrix;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MMessage;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MNodeCacheDisablingInfo;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MNodeCacheDisablingInfoHelper;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MNodeCacheSetupInfo;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MObject;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MObjectArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MPlug;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MPlugArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MPoint;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MPointArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MPxCommand;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MPxLocatorNode;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MPxNode;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MSceneMessage;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MSelectionList;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MSelectionMask;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MSpace;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MStatus;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MString;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MStringArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MSyntax;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MThreadAsync;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MThreadRootTask;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MTime;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MTransformationMatrix;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MTypeId;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MUintArray;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MUserData;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MVector;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MVectorArray;

namespace MHWRender {
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MBlendState;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MDrawContext;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MDrawRegistry;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MFrameContext;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MPassContext;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MPxDrawOverride;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MRenderer;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MRenderItem;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MSamplerState;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MSelectionContext;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MSelectionInfo;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MTexture;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MTextureDescription;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MTextureManager;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MTextureUpdateRegion;
using Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender::MUIDrawManager;
// The enumerations at namespace scope (draw APIs, raster formats, texture types) and their values.
using namespace Autodesk::Maya::OPENMAYA_MAJOR_NAMESPACE::MHWRender;
}  // namespace MHWRender
