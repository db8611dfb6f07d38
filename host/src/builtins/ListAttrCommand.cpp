#include <host/Commands.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/NameLookup.h"

// listAttr node: the long names of the node's attributes, those of its type's ancestors first.
namespace host::builtins {
namespace {

class ListAttrCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1, 1); }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        MObject node;
        if (!nodeByName(objectWords(parsed).front(), node)) {
            return MStatus::kFailure;
        }
        MFnDependencyNode fn(node);
        MStringArray names;
        for (unsigned int i = 0; i < fn.attributeCount(); ++i) {
            names.append(MFnAttribute(fn.attribute(i)).name());
        }
        setResult(names);
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar listAttrCommand("listAttr", create<ListAttrCommand>,
                                              ListAttrCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
