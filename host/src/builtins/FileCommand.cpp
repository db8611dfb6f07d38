#include <host/Commands.h>
#include <host/Scene.h>
#include <host/UndoQueue.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/SceneWriter.h"
#include "messages/SceneMessages.h"
#include "references/FileReading.h"
#include "references/ReferenceLoading.h"

#include <fstream>
#include <sstream>

// file: -new, -rename, -save and -open of scene files written as command scripts, -reference
// to load one into a namespace, and the scene's modified state (-modified to query or set it,
// -anyModified to query it: a reference is not saved from here, so the two answer alike).
namespace host::builtins {
namespace {

std::string& sceneName() {
    static std::string name;
    return name;
}

class FileCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(0, 1);
        syntax.addFlag("-n", "-new");
        syntax.addFlag("-f", "-force");
        syntax.addFlag("-rn", "-rename", MSyntax::kString);
        syntax.addFlag("-s", "-save");
        syntax.addFlag("-o", "-open");
        syntax.addFlag("-typ", "-type", MSyntax::kString);
        syntax.addFlag("-sn", "-sceneName");
        syntax.addFlag("-mf", "-modified", MSyntax::kBoolean);
        syntax.addFlag("-amf", "-anyModified");
        syntax.addFlag("-r", "-reference");
        syntax.addFlag("-ns", "-namespace", MSyntax::kString);
        syntax.addFlag("-dr", "-deferReference", MSyntax::kBoolean);
        syntax.addFlag("-rfn", "-referenceNode", MSyntax::kString);
        syntax.enableQuery();
        return syntax;
    }

    // The scene format is always the host's command script; -type is accepted and ignored.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> words = objectWords(parsed);
        if (parsed.isQuery()) {
            if (parsed.isFlagSet("-modified") || parsed.isFlagSet("-anyModified")) {
                setResult(sceneModified());
            } else {
                setResult(MString(sceneName().c_str()));
            }
            return MStatus::kSuccess;
        }
        if (parsed.isFlagSet("-new")) {
            UndoQueue::instance().clear();
            newScene();
            sceneName().clear();
            return MStatus::kSuccess;
        }
        bool modified = false;
        if (parsed.getFlagArgument("-modified", 0, modified)) {
            setSceneModified(modified);
            return MStatus::kSuccess;
        }
        MString rename;
        if (parsed.getFlagArgument("-rename", 0, rename)) {
            sceneName() = rename.asChar();
            setResult(rename);
        }
        if (parsed.isFlagSet("-save")) {
            return save();
        }
        if (parsed.isFlagSet("-reference")) {
            if (words.empty()) {
                return fail("file -reference: give the file to reference");
            }
            return reference(parsed, words.front());
        }
        if (parsed.isFlagSet("-open")) {
            if (words.empty()) {
                return fail("file -open: give the scene file to open");
            }
            return open(words.front());
        }
        if (!parsed.isFlagSet("-rename")) {
            return fail("file: give -new, -rename, -save, -open or -modified");
        }
        return MStatus::kSuccess;
    }

private:
    MStatus save() {
        if (sceneName().empty()) {
            return fail("file -save: the scene has no name (use file -rename first)");
        }
        sendSceneMessage(MSceneMessage::kBeforeSave);
        std::ofstream out(sceneName(), std::ios::binary | std::ios::trunc);
        out << sceneAsScript(sceneName());
        out.close();
        if (!out) {
            return fail("file -save: cannot write " + sceneName());
        }
        setSceneModified(false);
        setResult(MString(sceneName().c_str()));
        sendSceneMessage(MSceneMessage::kAfterSave);
        return MStatus::kSuccess;
    }

    // A saved scene's references are deferred while it is read and loaded once its own commands
    // have made their reference nodes. This host has no unloaded references: a reference deferred
    // outside a read is loaded at once.
    MStatus reference(const MArgDatabase& parsed, const std::string& path) {
        MString nameSpace;
        parsed.getFlagArgument("-namespace", 0, nameSpace);
        bool defer = false;
        parsed.getFlagArgument("-deferReference", 0, defer);
        MString node;
        if (defer && readingFile() && parsed.getFlagArgument("-referenceNode", 0, node)) {
            deferReference(path, nameSpace.asChar(), node.asChar());
            return MStatus::kSuccess;
        }
        const MStatus status = createReference(path, nameSpace.asChar());
        setResult(MString(path.c_str()));
        return status;
    }

    // A new scene, then the file's commands; they are not undoable one by one.
    MStatus open(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return fail("file -open: cannot read " + path);
        }
        std::ostringstream text;
        text << in.rdbuf();
        sendSceneMessage(MSceneMessage::kBeforeOpen);
        UndoQueue::instance().clear();
        newScene();
        sceneName() = path;
        ScriptOptions options;
        options.recordUndo = false;
        forgetDeferredReferences();
        {
            const FileReadScope reading(false);
            sendSceneMessage(MSceneMessage::kBeforeFileRead);
            const bool read = runScript(text.str(), options) && loadDeferredReferences();
            sendSceneMessage(MSceneMessage::kAfterFileRead);
            if (!read) {
                return fail("file -open: errors while reading " + path);
            }
        }
        setSceneModified(false);
        sendSceneMessage(MSceneMessage::kAfterOpen);
        setResult(MString(path.c_str()));
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar fileCommand("file", create<FileCommand>, FileCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
