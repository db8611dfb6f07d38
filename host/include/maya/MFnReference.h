#pragma once

#include <maya/MApiNamespace.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Only the switch that keeps plug sets and connections on referenced nodes from being recorded
// as reference edits. Autodesk documents its declaration in every version's MFnReference.h and
// nothing more; this host takes it to do what its name says: while it is on, no edit is kept.
// https://help.autodesk.com/cloudhelp/2023/ENU/MAYA-API-REF/cpp_ref/class_m_fn_reference.html
class MFnReference {
public:
    static bool ignoreReferenceEdits();
    static void setIgnoreReferenceEdits(bool ignoreEdits);
};

OPENMAYA_NAMESPACE_CLOSE
