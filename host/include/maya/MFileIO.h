#pragma once

#include <maya/MApiNamespace.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// The state of scene file operations. This host reads files when a scene is opened
// (file -open) and when a referenced file is loaded (file -reference, and the references of a
// scene being opened, which load inside that open's read); it has no import.
// https://help.autodesk.com/cloudhelp/2023/ENU/MAYA-API-REF/cpp_ref/class_m_file_i_o.html
class MFileIO {
public:
    // True while any read is under way: from kBeforeFileRead to kAfterFileRead, as MSceneMessage.h
    // says, so also during the reference messages of the references a scene loads while it is
    // opened. Where Maya says nothing (the messages around a reference created on its own, and
    // kAfterOpen) this host has the read over, after kAfterFileRead.
    static bool isReadingFile();
    static bool isReferencingFile();
};

OPENMAYA_NAMESPACE_CLOSE
