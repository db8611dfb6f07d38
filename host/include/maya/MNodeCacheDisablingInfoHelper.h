#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDeprecate.h>
#include <maya/MObject.h>
#include <maya/MObjectArray.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Ready-made reasons and attribute tests for getCacheSetup.
class OPENMAYA_AVAILABLE(2020) MNodeCacheDisablingInfoHelper {
public:
    static void setUnsafeNode(MNodeCacheDisablingInfo& disablingInfo, const MEvaluationNode& node,
                              const MString* nodeCategory = NULL);
    static void setUnsafeValue(MNodeCacheDisablingInfo& disablingInfo, const MEvaluationNode& node,
                               const MObject& attribute, const MString& attributeValue,
                               const MString& supportedValue, const MString* nodeCategory = NULL);

    enum ConnectionTestFlag {
        kTestDirtyPlug = 0,
        kTestHierarchy = 1,
        kTestPlug = 2,
        kLastConnectionTest = 3,
        kTestDefaultValue = kTestDirtyPlug
    };

    static bool testAnimatedAttribute(MNodeCacheDisablingInfo* disablingInfo,
                                      MObjectArray& monitoredAttributes,
                                      const MEvaluationNode& node, const MPlug& plug,
                                      ConnectionTestFlag connectionTest = kTestDefaultValue,
                                      const MString* nodeCategory = NULL,
                                      MStatus* ReturnStatus = NULL);
    static bool testBooleanAttribute(MNodeCacheDisablingInfo* disablingInfo,
                                     MObjectArray& monitoredAttributes, const MEvaluationNode& node,
                                     const MObject& attribute, bool supportedValue,
                                     ConnectionTestFlag connectionTest = kTestDefaultValue,
                                     const MString* nodeCategory = NULL,
                                     MStatus* ReturnStatus = NULL);
    static bool testEnumAttribute(MNodeCacheDisablingInfo* disablingInfo,
                                  MObjectArray& monitoredAttributes, const MEvaluationNode& node,
                                  const MObject& attribute, const short supportedValues[],
                                  int supportedValuesCount,
                                  ConnectionTestFlag connectionTest = kTestDefaultValue,
                                  const MString* nodeCategory = NULL, MStatus* ReturnStatus = NULL);
};

OPENMAYA_NAMESPACE_CLOSE
