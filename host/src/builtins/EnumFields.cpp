#include "builtins/EnumFields.h"

#include <maya/MFnEnumAttribute.h>

#include "builtins/BuiltinSupport.h"

namespace host::builtins {

// getAttr's help says -asString is for enum attributes only; what Maya does with it on another
// attribute, or on a value no field has, is not documented, so the stand-in refuses both.
MStatus enumFieldOfPlug(const MPlug& plug, MString& name) {
    const MString plugName = plug.name();
    if (!plug.attribute().hasFn(MFn::kEnumAttribute)) {
        return fail(std::string("getAttr: -asString is for enum attributes only: ") +
                    plugName.asChar());
    }
    MStatus status;
    name = MFnEnumAttribute(plug.attribute()).fieldName(plug.asShort(), &status);
    if (!status) {
        return fail(std::string("getAttr: the value of ") + plugName.asChar() +
                    " has no field name");
    }
    return MStatus::kSuccess;
}

// The text's form is not in the pages read: it is written as addAttr's -enumName takes it.
std::string enumFieldList(const MObject& attribute) {
    const MFnEnumAttribute fn(attribute);
    short first = 0;
    short last = -1;
    if (!fn.getMin(first) || !fn.getMax(last)) {
        return "";
    }
    std::string list;
    int expected = first == 0 ? 0 : -1;
    for (int index = first; index <= last; ++index) {
        MStatus status;
        const MString field = fn.fieldName(static_cast<short>(index), &status);
        if (!status) {
            continue;
        }
        list += (list.empty() ? "" : ":") + std::string(field.asChar());
        if (index != expected) {
            list += "=" + std::to_string(index);
        }
        expected = index + 1;
    }
    return list;
}

}  // namespace host::builtins
