#include <host/Commands.h>
#include <host/PlugText.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/EnumFields.h"
#include "builtins/ModifierCommand.h"
#include "builtins/NameLookup.h"
#include "dg/Access.h"
#include "dg/Node.h"
#include "script/Lexer.h"

#include <sstream>

// setAttr, getAttr, connectAttr, disconnectAttr, isConnected and listConnections.
namespace host::builtins {
namespace {

std::string plugName(const MPlug& plug) {
    return plug.name().asChar();
}

// Maya's wording for a plug that cannot be set.
MStatus lockedOrConnected(const MPlug& plug) {
    return fail("setAttr: The attribute '" + plugName(plug) +
                "' is locked or connected and cannot be modified.");
}

class SetAttrCommand : public ModifierCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1);
        syntax.addFlag("-typ", "-type", MSyntax::kString);
        syntax.addFlag("-l", "-lock", MSyntax::kBoolean);
        return syntax;
    }

    // With -lock and no value only the lock changes; with a value, the lock is set after it.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::vector<std::string> words = objectWords(parsed);
        MString type;
        parsed.getFlagArgument("-type", 0, type);
        if (!plugByName(words[0], plug_)) {
            return MStatus::kFailure;
        }
        wasLocked_ = plug_.isLocked();
        changesLock_ = parsed.isFlagSet("-lock");
        if (changesLock_) {
            parsed.getFlagArgument("-lock", 0, lock_);
        } else if (words.size() < 2) {
            return fail("setAttr: Too few objects: at least 2 needed");
        }
        if (words.size() < 2) {
            return plug_.setLocked(lock_);
        }
        const host::Node& node = *host::Access::node(plug_);
        if (host::isLockedForChange(node,
                                    {host::Access::attribute(plug_), host::Access::index(plug_)})) {
            return lockedOrConnected(plug_);
        }
        modifier_ = std::make_unique<MDGModifier>();
        std::vector<std::string> values(words.begin() + 1, words.end());
        const MStatus status =
            queueAndRun([&] { return setPlugFromText(plug_, values, type.asChar(), *modifier_); },
                        "setAttr: cannot set " + words[0]);
        if (status && changesLock_) {
            plug_.setLocked(lock_);
        }
        return status;
    }

    MStatus undoIt() override {
        if (changesLock_) {
            plug_.setLocked(wasLocked_);
        }
        return modifier_ ? modifier_->undoIt() : MStatus::kSuccess;
    }

    MStatus redoIt() override {
        const MStatus status = modifier_ ? modifier_->doIt() : MStatus::kSuccess;
        if (status && changesLock_) {
            plug_.setLocked(lock_);
        }
        return status;
    }

private:
    MPlug plug_;
    bool changesLock_ = false;
    bool lock_ = false;
    bool wasLocked_ = false;
};

class GetAttrCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1, 1);
        syntax.addFlag("-l", "-lock");
        // The short name was not retrieved: the long one only.
        syntax.addFlag("-asString", "-asString");
        return syntax;
    }

    // Numbers come back as numbers (an array for several), string attributes as a string;
    // with -lock, whether the plug is locked; with -asString, an enum's field name.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MPlug plug;
        if (!plugByName(objectWords(parsed).front(), plug)) {
            return MStatus::kFailure;
        }
        if (parsed.isFlagSet("-lock")) {
            setResult(plug.isLocked());
            return MStatus::kSuccess;
        }
        if (parsed.isFlagSet("-asString")) {
            MString field;
            const MStatus status = enumFieldOfPlug(plug, field);
            if (status) {
                setResult(field);
            }
            return status;
        }
        std::string text = plugValueText(plug).asChar();
        MFnTypedAttribute typed(plug.attribute());
        if (plug.attribute().hasFn(MFn::kTypedAttribute) && typed.attrType() == MFnData::kString) {
            setResult(MString(text.c_str()));
            return MStatus::kSuccess;
        }
        std::istringstream words(text);
        MDoubleArray numbers;
        for (std::string word; words >> word;) {
            double number = 0.0;
            if (!script::parseNumber(word, &number)) {
                setResult(MString(text.c_str()));
                return MStatus::kSuccess;
            }
            numbers.append(number);
        }
        if (numbers.length() == 1) {
            setResult(numbers[0]);
        } else {
            setResult(numbers);
        }
        return MStatus::kSuccess;
    }
};

// connectAttr, disconnectAttr and isConnected: a source and a destination plug, in that order.
template <typename Base>
class PlugPairCommand : public Base {
public:
    static MSyntax newSyntax() { return wordsSyntax(2, 2); }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(this->syntax(), args);
        std::vector<std::string> words = objectWords(parsed);
        MPlug source;
        MPlug destination;
        if (!plugByName(words[0], source) || !plugByName(words[1], destination)) {
            return MStatus::kFailure;
        }
        return doItOnPair(parsed, words, source, destination);
    }

protected:
    virtual MStatus doItOnPair(const MArgDatabase& parsed, const std::vector<std::string>& words,
                               const MPlug& source, const MPlug& destination) = 0;
};

class ConnectAttrCommand : public PlugPairCommand<ModifierCommand> {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(2, 2);
        syntax.addFlag("-f", "-force");
        return syntax;
    }

    // A destination with another source is refused unless -force, which breaks that one first.
    // Making a connection that already exists is only a warning.
    MStatus doItOnPair(const MArgDatabase& parsed, const std::vector<std::string>& words,
                       const MPlug& source, const MPlug& destination) override {
        modifier_ = std::make_unique<MDGModifier>();
        MPlug current = destination.source();
        if (!current.isNull()) {
            if (current == source) {
                displayWarning(
                    MString((words[0] + " is already connected to " + words[1] + ".").c_str()));
                return MStatus::kSuccess;
            }
            if (!parsed.isFlagSet("-force")) {
                return fail("The destination attribute '" + words[1] +
                            "' is already connected to '" + plugName(current) +
                            "' (use -force to replace the connection)");
            }
            modifier_->disconnect(current, destination);
        }
        MStatus status = queueAndRun([&] { return modifier_->connect(source, destination); },
                                     "Cannot connect " + words[0] + " to " + words[1]);
        if (!status) {
            return status;
        }
        setResult(MString(("Connected " + words[0] + " to " + words[1] + ".").c_str()));
        return MStatus::kSuccess;
    }
};

class DisconnectAttrCommand : public PlugPairCommand<ModifierCommand> {
public:
    MStatus doItOnPair(const MArgDatabase&, const std::vector<std::string>& words,
                       const MPlug& source, const MPlug& destination) override {
        if (destination.source() != source) {
            return fail(words[0] + " is not connected to " + words[1]);
        }
        modifier_ = std::make_unique<MDGModifier>();
        if (!modifier_->disconnect(source, destination) || !modifier_->doIt()) {
            return fail("Cannot disconnect " + words[0] + " from " + words[1]);
        }
        return MStatus::kSuccess;
    }
};

class IsConnectedCommand : public PlugPairCommand<MPxCommand> {
public:
    MStatus doItOnPair(const MArgDatabase&, const std::vector<std::string>&, const MPlug& source,
                       const MPlug& destination) override {
        MPlug current = destination.source();
        setResult(!current.isNull() && current == source);
        return MStatus::kSuccess;
    }
};

class ListConnectionsCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1, 1);
        syntax.addFlag("-s", "-source", MSyntax::kBoolean);
        syntax.addFlag("-d", "-destination", MSyntax::kBoolean);
        syntax.addFlag("-p", "-plugs", MSyntax::kBoolean);
        return syntax;
    }

    // The other ends of the connections of a node (all its plugs) or of one plug: node names,
    // or plug names with -plugs true. Sources and destinations are both listed by default.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        std::string name = objectWords(parsed).front();
        bool sources = true;
        bool destinations = true;
        bool plugs = false;
        parsed.getFlagArgument("-source", 0, sources);
        parsed.getFlagArgument("-destination", 0, destinations);
        parsed.getFlagArgument("-plugs", 0, plugs);

        MPlugArray ownPlugs;
        MPlug plug;
        MObject node;
        if (name.find('.') != std::string::npos) {
            if (!plugByName(name, plug)) {
                return MStatus::kFailure;
            }
            ownPlugs.append(plug);
        } else {
            if (!nodeByName(name, node)) {
                return MStatus::kFailure;
            }
            MFnDependencyNode(node).getConnections(ownPlugs);
        }
        MStringArray result;
        for (unsigned int i = 0; i < ownPlugs.length(); ++i) {
            MPlugArray others;
            ownPlugs[i].connectedTo(others, sources, destinations);
            for (unsigned int k = 0; k < others.length(); ++k) {
                result.append(plugs ? others[k].name()
                                    : MFnDependencyNode(others[k].node()).name());
            }
        }
        setResult(result);
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar setAttrCommand("setAttr", create<SetAttrCommand>,
                                             SetAttrCommand::newSyntax);
const BuiltinCommandRegistrar getAttrCommand("getAttr", create<GetAttrCommand>,
                                             GetAttrCommand::newSyntax);
const BuiltinCommandRegistrar connectAttrCommand("connectAttr", create<ConnectAttrCommand>,
                                                 ConnectAttrCommand::newSyntax);
const BuiltinCommandRegistrar disconnectAttrCommand("disconnectAttr", create<DisconnectAttrCommand>,
                                                    DisconnectAttrCommand::newSyntax);
const BuiltinCommandRegistrar isConnectedCommand("isConnected", create<IsConnectedCommand>,
                                                 IsConnectedCommand::newSyntax);
const BuiltinCommandRegistrar listConnectionsCommand("listConnections",
                                                     create<ListConnectionsCommand>,
                                                     ListConnectionsCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
