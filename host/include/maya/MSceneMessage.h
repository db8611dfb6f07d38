#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MMessage.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Scene messages: callbacks run on the main thread around file operations. This host sends
// kBeforeSave and kAfterSave around `file -save`; kBeforeOpen, kBeforeFileRead, then, once the
// scene's commands have run and its references have loaded, kAfterFileRead and kAfterOpen around
// `file -open`; kBeforeCreateReference, kBeforeFileRead, kAfterFileRead and
// kAfterCreateReference around `file -reference`; and kBeforeLoadReference, kBeforeFileRead,
// kAfterFileRead and kAfterLoadReference around each reference a scene loads while it is opened.
// MSceneMessage.h says the file read messages come while MFileIO::isReadingFile() is true; the
// order of the reference messages around them, and which ones a scene's references raise when it
// is opened, Maya does not document: this host follows the order of the menu items (create or
// load, then read), and raises the load messages, inside the open's read, for a scene's
// references. It has no import, export, unloading or rendering, so the other messages are
// accepted and never sent.
// https://help.autodesk.com/cloudhelp/2023/ENU/MAYA-API-REF/cpp_ref/class_m_scene_message.html
class MSceneMessage : public MMessage {
public:
    enum Message {
        kSceneUpdate = 0,
        kBeforeNew = 1,
        kAfterNew = 2,
        kBeforeImport = 3,
        kAfterImport = 4,
        kBeforeOpen = 5,
        kAfterOpen = 6,
        kBeforeFileRead = 7,
        kAfterFileRead = 8,
        kAfterSceneReadAndRecordEdits = 9,
        kBeforeExport = 10,
        kAfterExport = 11,
        kBeforeSave = 12,
        kAfterSave = 13,
        kBeforeReference = 14,
        kAfterReference = 15,
        kBeforeRemoveReference = 16,
        kAfterRemoveReference = 17,
        kBeforeImportReference = 18,
        kAfterImportReference = 19,
        kBeforeExportReference = 20,
        kAfterExportReference = 21,
        kBeforeUnloadReference = 22,
        kAfterUnloadReference = 23,
        kBeforeSoftwareRender = 24,
        kAfterSoftwareRender = 25,
        kBeforeSoftwareFrameRender = 26,
        kAfterSoftwareFrameRender = 27,
        kSoftwareRenderInterrupted = 28,
        kMayaInitialized = 29,
        kMayaExiting = 30,
        kBeforeNewCheck = 31,
        kBeforeOpenCheck = 32,
        kBeforeSaveCheck = 33,
        kBeforeImportCheck = 34,
        kBeforeExportCheck = 35,
        kBeforeLoadReference = 36,
        kAfterLoadReference = 37,
        kBeforeLoadReferenceCheck = 38,
        kBeforeReferenceCheck = 39,
        kBeforeCreateReferenceCheck = kBeforeReferenceCheck,
        kBeforePluginLoad = 40,
        kAfterPluginLoad = 41,
        kBeforePluginUnload = 42,
        kAfterPluginUnload = 43,
        kBeforeCreateReference = 44,
        kAfterCreateReference = 45,
        kExportStarted = 46,
        kBeforeLoadReferenceAndRecordEdits = 47,
        kAfterLoadReferenceAndRecordEdits = 48,
        kBeforeCreateReferenceAndRecordEdits = 49,
        kAfterCreateReferenceAndRecordEdits = 50,
        kLast = 51
    };

    static MCallbackId addCallback(Message msg, MMessage::MBasicFunction func,
                                   void* clientData = nullptr, MStatus* ReturnStatus = nullptr);
};

OPENMAYA_NAMESPACE_CLOSE
