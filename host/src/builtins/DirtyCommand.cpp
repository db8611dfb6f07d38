#include <host/Commands.h>
#include <maya/MArgDatabase.h>
#include <maya/MPlug.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/NameLookup.h"
#include "dg/Access.h"
#include "dg/Node.h"

// dgdirty "node.attribute" ...: marks each plug, and whatever depends on it, dirty, so that the
// next read computes it again. As in Maya, it sets no value: the scene is not modified by it.
// Only the plug form is modelled (Maya's flags -a, -c, -l, -p, -v and node names are not).
namespace host::builtins {
namespace {

class DirtyCommand : public MPxCommand {
public:
    static MSyntax newSyntax() { return wordsSyntax(1); }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        for (const std::string& word : objectWords(parsed)) {
            MPlug plug;
            if (!plugByName(word, plug)) {
                return MStatus::kFailure;
            }
            Access::node(plug)->markDirty(PlugKey{Access::attribute(plug), Access::index(plug)});
        }
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar dirtyCommand("dgdirty", create<DirtyCommand>,
                                           DirtyCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
