#include <host/Commands.h>
#include <host/PlugText.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MTime.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/ModifierCommand.h"
#include "builtins/NameLookup.h"
#include "scene/AudioNode.h"

// sound: makes an audio node for a sound file, or queries or edits one. Time values are in the
// current time unit. The result of a creation is the new node's name.
//   sound -file f [-offset t] [-sourceStart t] [-sourceEnd t] [-endTime t] [-mute b] [-name n]
//   sound -query -file|-offset|-sourceStart|-sourceEnd|-endTime|-mute|-length node
//   sound -edit <flags as for a creation> node
namespace host::builtins {
namespace {

struct TimeFlag {
    const char* shortName;
    const char* longName;
    MObject* attribute;
};

const TimeFlag kTimeFlags[] = {
    {"-o", "-offset", &AudioNode::aOffset},
    {"-ss", "-sourceStart", &AudioNode::aSourceStart},
    {"-se", "-sourceEnd", &AudioNode::aSourceEnd},
    {"-et", "-endTime", &AudioNode::aEndFrame},
};

double inUiUnit(const MPlug& plug) {
    return plug.asMTime().as(MTime::uiUnit());
}

MTime uiTime(double value) {
    return MTime(value, MTime::uiUnit());
}

class SoundCommand : public ModifierCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(0, 1);
        syntax.addFlag("-f", "-file", MSyntax::kString);
        syntax.addFlag("-n", "-name", MSyntax::kString);
        syntax.addFlag("-m", "-mute", MSyntax::kBoolean);
        syntax.addFlag("-l", "-length");
        for (const TimeFlag& flag : kTimeFlags) {
            syntax.addFlag(flag.shortName, flag.longName, MSyntax::kTime);
        }
        syntax.enableQuery();
        syntax.enableEdit();
        return syntax;
    }

    // A query changes nothing and is not kept for undo.
    bool isUndoable() const override { return !query_; }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        query_ = parsed.isQuery();
        const std::vector<std::string> words = objectWords(parsed);
        if (parsed.isQuery() || parsed.isEdit()) {
            MObject node;
            if (words.empty()) {
                return fail("sound: name the audio node");
            }
            if (!nodeByName(words.front(), node)) {
                return MStatus::kFailure;
            }
            if (nodeTypeName(node) != "audio") {
                return fail("sound: " + words.front() + " is not an audio node");
            }
            return parsed.isQuery() ? query(parsed, node) : edit(parsed, node);
        }
        return createSound(parsed);
    }

private:
    bool query_ = false;

    MStatus query(const MArgDatabase& parsed, const MObject& node) {
        const MFnDependencyNode nodeFn(node);
        if (parsed.isFlagSet("-length")) {
            setResult(inUiUnit(nodeFn.findPlug(AudioNode::aDuration, true)));
            return MStatus::kSuccess;
        }
        if (parsed.isFlagSet("-file")) {
            setResult(nodeFn.findPlug(AudioNode::aFilename, true).asString());
            return MStatus::kSuccess;
        }
        if (parsed.isFlagSet("-mute")) {
            setResult(nodeFn.findPlug(AudioNode::aMute, true).asBool());
            return MStatus::kSuccess;
        }
        for (const TimeFlag& flag : kTimeFlags) {
            if (parsed.isFlagSet(flag.longName)) {
                setResult(inUiUnit(nodeFn.findPlug(*flag.attribute, true)));
                return MStatus::kSuccess;
            }
        }
        return fail("sound: name what to query");
    }

    // Queues the values the flags give onto modifier_.
    MStatus queueValues(const MArgDatabase& parsed, const MObject& node) {
        const MFnDependencyNode nodeFn(node);
        if (parsed.isFlagSet("-file")) {
            modifier_->newPlugValueString(nodeFn.findPlug(AudioNode::aFilename, true),
                                          parsed.flagArgumentString("-file", 0));
        }
        if (parsed.isFlagSet("-mute")) {
            modifier_->newPlugValueBool(nodeFn.findPlug(AudioNode::aMute, true),
                                        parsed.flagArgumentBool("-mute", 0));
        }
        for (const TimeFlag& flag : kTimeFlags) {
            if (parsed.isFlagSet(flag.longName)) {
                modifier_->newPlugValueMTime(nodeFn.findPlug(*flag.attribute, true),
                                             uiTime(parsed.flagArgumentDouble(flag.longName, 0)));
            }
        }
        return MStatus::kSuccess;
    }

    MStatus edit(const MArgDatabase& parsed, const MObject& node) {
        modifier_ = std::make_unique<MDGModifier>();
        return queueAndRun([&] { return queueValues(parsed, node); },
                           "sound: the audio node could not be changed");
    }

    // Maya's scenes store an imported sound with its end on the timeline ("endFrame") and its
    // end in the file ("sourceEnd") filled in; where the flags do not give them, they are the
    // end of the sound. Maya's reaction to a file it cannot read is not documented here; this
    // host refuses it, so that nothing is placed on the timeline without a readable sound.
    MStatus createSound(const MArgDatabase& parsed) {
        if (!parsed.isFlagSet("-file")) {
            return fail("sound: give the sound file with -file");
        }
        const std::string file = parsed.flagArgumentString("-file", 0).asChar();
        SoundFileFacts facts;
        if (!readSoundFile(file, facts)) {
            return fail("sound: cannot read the sound file " + file);
        }
        auto given = [&](const char* flag, double otherwise) {
            return parsed.isFlagSet(flag) ? parsed.flagArgumentDouble(flag, 0) : otherwise;
        };
        const double length =
            MTime(static_cast<double>(facts.frameCount) / facts.sampleRate, MTime::kSeconds)
                .as(MTime::uiUnit());
        const double offset = given("-offset", 0.0);
        const double sourceStart = given("-sourceStart", 0.0);
        double sourceEnd = given("-sourceEnd", length);
        if (parsed.isFlagSet("-endTime") && !parsed.isFlagSet("-sourceEnd")) {
            sourceEnd = sourceStart + given("-endTime", 0.0) - offset;
        }
        const double endTime = given("-endTime", offset + sourceEnd - sourceStart);

        modifier_ = std::make_unique<MDGModifier>();
        MStatus status;
        const MObject node = modifier_->createNode("audio", &status);
        if (!status || !(status = modifier_->doIt())) {
            return fail("sound: the audio node could not be created");
        }
        // Maya's default name for the node is not documented here: the type's name, numbered.
        const MString name =
            parsed.isFlagSet("-name") ? parsed.flagArgumentString("-name", 0) : MString("audio#");
        const MFnDependencyNode nodeFn(node);
        status = queueAndRun(
            [&] {
                modifier_->renameNode(node, name);
                modifier_->newPlugValueMTime(nodeFn.findPlug(AudioNode::aSourceEnd, true),
                                             uiTime(sourceEnd));
                modifier_->newPlugValueMTime(nodeFn.findPlug(AudioNode::aEndFrame, true),
                                             uiTime(endTime));
                return queueValues(parsed, node);
            },
            "sound: the audio node could not be set up");
        if (!status) {
            modifier_->undoIt();
            return status;
        }
        setResult(MString(nameOf(node).c_str()));
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar soundCommand("sound", create<SoundCommand>, SoundCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
