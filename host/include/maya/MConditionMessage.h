#pragma once

// Callbacks on the named conditions of `scriptJob -listConditions`, and their states. A callback
// must be removed (MMessage::removeCallback) before its plug-in is unloaded.
// https://help.autodesk.com/cloudhelp/2023/ENU/MAYA-API-REF/cpp_ref/class_m_condition_message.html
// (declarations as in MConditionMessage.h, identical 2022-2024).

#include <maya/MApiNamespace.h>
#include <maya/MMessage.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

class MConditionMessage : public MMessage {
public:
    // Called with the new state whenever the condition changes.
    static MCallbackId addConditionCallback(const MString& conditionName,
                                            MMessage::MStateFunction func,
                                            void* clientData = nullptr,
                                            MStatus* ReturnStatus = nullptr);
    static MStatus getConditionNames(MStringArray& names);
    // kInvalidParameter (and false) for a name that is no condition.
    static bool getConditionState(const MString& name, MStatus* ReturnStatus = nullptr);
};

OPENMAYA_NAMESPACE_CLOSE
