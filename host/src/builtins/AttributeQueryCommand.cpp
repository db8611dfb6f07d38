#include <host/Commands.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MStringArray.h>

#include "builtins/BuiltinSupport.h"
#include "builtins/EnumFields.h"
#include "builtins/NameLookup.h"
#include "dg/Access.h"
#include "dg/Attribute.h"
#include "dg/NodeType.h"

// attributeQuery <attribute> -node <node> | -type <nodeType>, with -exists, -hidden and
// -listEnum. Autodesk's page for it was not found: what is modelled is Maya's own help text, as a
// type stub generated from it shows it. Short flag names were not retrieved, so only the long
// ones are taken.
// The copy says several boolean flags give their AND and two non-boolean flags are an error; it
// says nothing of a query of an attribute the target lacks, other than -exists, nor of
// -listEnum on an attribute that is no enum, nor of a boolean flag beside a non-boolean one: the
// stand-in refuses all three.
namespace host::builtins {
namespace {

class AttributeQueryCommand : public MPxCommand {
public:
    static MSyntax newSyntax() {
        MSyntax syntax = wordsSyntax(1, 1);
        syntax.addFlag("-node", "-node", MSyntax::kString);
        syntax.addFlag("-type", "-type", MSyntax::kString);
        syntax.addFlag("-exists", "-exists");
        syntax.addFlag("-hidden", "-hidden");
        syntax.addFlag("-listEnum", "-listEnum");
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        const std::string name = objectWords(parsed).front();
        const bool exists = parsed.isFlagSet("-exists");
        const bool hidden = parsed.isFlagSet("-hidden");
        const bool listEnum = parsed.isFlagSet("-listEnum");
        if (!exists && !hidden && !listEnum) {
            return fail("attributeQuery: give -exists, -hidden or -listEnum");
        }
        if (listEnum && (exists || hidden)) {
            return fail("attributeQuery: -listEnum cannot be combined with another query");
        }
        MObject attribute;
        const MStatus found = findAttribute(parsed, name, attribute);
        if (!found) {
            return found;
        }
        if (attribute.isNull() && (hidden || listEnum)) {
            return fail("attributeQuery: no attribute named '" + name + "'");
        }
        if (listEnum) {
            if (!attribute.hasFn(MFn::kEnumAttribute)) {
                return fail("attributeQuery: '" + name + "' is not an enum attribute");
            }
            MStringArray result;
            result.append(enumFieldList(attribute).c_str());
            setResult(result);
            return MStatus::kSuccess;
        }
        bool answer = !attribute.isNull();
        if (hidden) {
            answer = answer && MFnAttribute(attribute).isHidden();
        }
        setResult(answer);
        return MStatus::kSuccess;
    }

private:
    // The attribute of the node or node type given, null when it has none of that name. Fails
    // for a target that does not exist, or for none or both given.
    static MStatus findAttribute(const MArgDatabase& parsed, const std::string& name,
                                 MObject& attribute) {
        MString target;
        const bool byNode = parsed.getFlagArgument("-node", 0, target) == MStatus::kSuccess;
        MString typeName;
        const bool byType = parsed.getFlagArgument("-type", 0, typeName) == MStatus::kSuccess;
        if (byNode == byType) {
            return fail("attributeQuery: give one of -node and -type");
        }
        if (byNode) {
            MObject node;
            if (!nodeByName(target.asChar(), node)) {
                return MStatus::kFailure;
            }
            attribute = MFnDependencyNode(node).attribute(MString(name.c_str()));
            return MStatus::kSuccess;
        }
        const std::shared_ptr<NodeType> type = TypeRegistry::instance().find(typeName);
        if (!type) {
            return fail(std::string("attributeQuery: unknown node type: ") + typeName.asChar());
        }
        const Attribute* described = type->findAttribute(MString(name.c_str()));
        attribute = described ? Access::object(described->sharedFromThis()) : MObject();
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar attributeQueryCommand("attributeQuery", create<AttributeQueryCommand>,
                                                    AttributeQueryCommand::newSyntax);

}  // namespace
}  // namespace host::builtins
