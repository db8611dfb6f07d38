#include <host/PlugText.h>

#include <maya/MFnMatrixData.h>

#include "dg/Access.h"
#include "dg/Connections.h"
#include "dg/SceneGraph.h"
#include "values/NumberText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

namespace host {
namespace {

constexpr double kDegreesPerRadian = 180.0 / M_PI;

bool isAngle(const Attribute& attribute) {
    return attribute.kind == Attribute::Kind::Unit &&
           attribute.unitType == MFnUnitAttribute::kAngle;
}

std::string numberText(const Attribute& attribute, const Value& value) {
    double number = value.asNumber();
    if (isAngle(attribute)) {
        number *= kDegreesPerRadian;
    }
    if (attribute.kind == Attribute::Kind::Numeric &&
        attribute.numericType == MFnNumericData::kFloat) {
        return values::formatFloat(static_cast<float>(number));
    }
    return values::formatDouble(number);
}

// The words of a value as getAttr shows them and setAttr takes them back.
std::vector<std::string> valueWords(const Attribute& attribute, const Value& value) {
    if (value.kind == Value::Kind::Text) {
        return {value.text.asChar()};
    }
    if (value.kind == Value::Kind::Matrix) {
        std::vector<std::string> words;
        for (unsigned int row = 0; row < 4; ++row) {
            for (unsigned int column = 0; column < 4; ++column) {
                words.push_back(values::formatDouble(value.matrix(row, column)));
            }
        }
        return words;
    }
    return {numberText(attribute, value)};
}

std::string typeFlagOf(const Attribute& attribute) {
    if (attribute.holdsText()) {
        return "string";
    }
    return attribute.holdsMatrix() ? "matrix" : "";
}

std::string join(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

// A number as setAttr reads it: numbers, boolean words, or an enumeration's field name.
bool parseNumber(const Attribute& attribute, const std::string& word, double& number) {
    static const std::map<std::string, double> words = {{"true", 1}, {"false", 0}, {"on", 1},
                                                        {"off", 0},  {"yes", 1},   {"no", 0}};
    if (values::parseDouble(word, number)) {
        if (isAngle(attribute)) {
            number /= kDegreesPerRadian;
        }
        return true;
    }
    auto found = words.find(word);
    if (found != words.end()) {
        number = found->second;
        return true;
    }
    for (const auto& field : attribute.fields) {
        if (word == field.first.asChar()) {
            number = field.second;
            return true;
        }
    }
    return false;
}

struct Assignment {
    PlugKey key;
    Value value;
};

// What setAttr with these words assigns, leaf by leaf.
MStatus assignmentsFor(const Attribute& attribute, int index, const std::vector<std::string>& words,
                       const std::string& typeFlag, std::vector<Assignment>& assignments) {
    if (attribute.array && index < 0) {
        return MStatus::kInvalidParameter;
    }
    if (attribute.kind == Attribute::Kind::Compound) {
        if (words.size() != attribute.children.size() || typeFlag == "string" ||
            typeFlag == "matrix") {
            return MStatus::kInvalidParameter;
        }
        for (std::size_t i = 0; i < words.size(); ++i) {
            MStatus status =
                assignmentsFor(*attribute.children[i], -1, {words[i]}, "", assignments);
            if (!status) {
                return status;
            }
        }
        return MStatus::kSuccess;
    }
    if (attribute.holdsText()) {
        if (typeFlag != "string" || words.size() != 1) {
            return MStatus::kInvalidParameter;
        }
        assignments.push_back({{&attribute, index}, Value::ofText(words[0].c_str())});
        return MStatus::kSuccess;
    }
    if (attribute.holdsMatrix()) {
        if (typeFlag != "matrix" || words.size() != 16) {
            return MStatus::kInvalidParameter;
        }
        double cells[4][4];
        for (int i = 0; i < 16; ++i) {
            if (!values::parseDouble(words[i], cells[i / 4][i % 4])) {
                return MStatus::kInvalidParameter;
            }
        }
        assignments.push_back({{&attribute, index}, Value::ofMatrix(MMatrix(cells))});
        return MStatus::kSuccess;
    }
    double number = 0.0;
    if (!typeFlag.empty() || words.size() != 1 || !parseNumber(attribute, words[0], number)) {
        return MStatus::kInvalidParameter;
    }
    assignments.push_back({{&attribute, index}, Value::ofNumber(number)});
    return MStatus::kSuccess;
}

MStatus assignmentsFor(const MPlug& plug, const std::vector<std::string>& words,
                       const std::string& typeFlag, std::vector<Assignment>& assignments) {
    const auto& node = Access::node(plug);
    if (plug.isNull()) {
        return MStatus::kInvalidParameter;
    }
    MStatus status =
        assignmentsFor(*Access::attribute(plug), Access::index(plug), words, typeFlag, assignments);
    if (!status) {
        return status;
    }
    const bool driven = std::any_of(
        assignments.begin(), assignments.end(),
        [&node](const Assignment& each) { return node->incomingOf(each.key) != nullptr; });
    return driven ? MStatus::kFailure : MStatus::kSuccess;
}

std::string plugName(const Node& node, const PlugKey& key) {
    std::string text = std::string(node.name.asChar()) + "." + key.attribute->longName.asChar();
    if (key.index >= 0) {
        text += "[" + std::to_string(key.index) + "]";
    }
    return text;
}

}  // namespace

MString plugValueText(const MPlug& plug) {
    if (plug.isNull()) {
        return MString();
    }
    const auto& node = Access::node(plug);
    const Attribute& attribute = *Access::attribute(plug);
    std::vector<std::string> words;
    if (attribute.kind == Attribute::Kind::Compound) {
        for (unsigned int i = 0; i < plug.numChildren(); ++i) {
            words.push_back(plugValueText(plug.child(i)).asChar());
        }
    } else if (attribute.array && Access::index(plug) < 0) {
        for (int index : node->elementIndices(&attribute)) {
            words.push_back(plugValueText(plug.elementByLogicalIndex(index)).asChar());
        }
    } else {
        words = valueWords(attribute, node->evaluate({&attribute, Access::index(plug)}));
    }
    return join(words).c_str();
}

MStatus setPlugFromText(const MPlug& plug, const std::vector<std::string>& values,
                        const std::string& typeFlag) {
    std::vector<Assignment> assignments;
    MStatus status = assignmentsFor(plug, values, typeFlag, assignments);
    if (!status) {
        return status;
    }
    Node& node = *Access::node(plug);
    for (const Assignment& assignment : assignments) {
        status = setPlugValue(node, assignment.key, assignment.value);
        if (!status) {
            return status;
        }
    }
    return MStatus::kSuccess;
}

MStatus setPlugFromText(const MPlug& plug, const std::vector<std::string>& values,
                        const std::string& typeFlag, MDGModifier& modifier) {
    std::vector<Assignment> assignments;
    MStatus status = assignmentsFor(plug, values, typeFlag, assignments);
    if (!status) {
        return status;
    }
    for (const Assignment& assignment : assignments) {
        const MPlug leaf =
            Access::plug(Access::node(plug), assignment.key.attribute, assignment.key.index);
        const Value& value = assignment.value;
        if (value.kind == Value::Kind::Text) {
            status = modifier.newPlugValueString(leaf, value.text);
        } else if (value.kind == Value::Kind::Matrix) {
            MFnMatrixData data;
            MObject matrixData = data.create(value.matrix);
            status = modifier.newPlugValue(leaf, matrixData);
        } else {
            status = modifier.newPlugValueDouble(leaf, value.number);
        }
        if (!status) {
            return status;
        }
    }
    return MStatus::kSuccess;
}

std::vector<SavedPlugValue> savedPlugValues(const MObject& object) {
    std::vector<SavedPlugValue> saved;
    auto node = Access::as<Node>(object);
    if (!node) {
        return saved;
    }
    for (const auto& attribute : node->type->attributes) {
        if (!attribute->storable || !attribute->writable ||
            attribute->kind == Attribute::Kind::Compound) {
            continue;
        }
        std::vector<int> indices = {-1};
        if (attribute->array) {
            indices = node->elementIndices(attribute.get());
        }
        for (int index : indices) {
            const PlugKey key{attribute.get(), index};
            if (node->incomingOf(key)) {
                continue;
            }
            const Value value = node->evaluate(key);
            if (value == attribute->defaultValue) {
                continue;
            }
            std::string name = attribute->longName.asChar();
            if (index >= 0) {
                name += "[" + std::to_string(index) + "]";
            }
            saved.push_back({name, valueWords(*attribute, value), typeFlagOf(*attribute)});
        }
    }
    return saved;
}

SavedPlugValue savedPlugValue(const MPlug& plug) {
    const std::shared_ptr<Node>& node = Access::node(plug);
    const Attribute* attribute = Access::attribute(plug);
    std::string name = attribute->longName.asChar();
    if (Access::index(plug) >= 0) {
        name += "[" + std::to_string(Access::index(plug)) + "]";
    }
    return {name, valueWords(*attribute, node->evaluate({attribute, Access::index(plug)})),
            typeFlagOf(*attribute)};
}

std::vector<SceneConnection> sceneConnections() {
    std::vector<std::pair<unsigned long, SceneConnection>> found;
    for (const auto& node : SceneGraph::instance().nodes()) {
        for (const auto& entry : node->incoming) {
            const PlugEnd& source = entry.second.source;
            found.push_back({entry.second.serial,
                             {plugName(*source.node, source.key), plugName(*node, entry.first)}});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto& left, const auto& right) { return left.first < right.first; });
    std::vector<SceneConnection> result;
    for (const auto& entry : found) {
        result.push_back(entry.second);
    }
    return result;
}

MString nodeTypeName(const MObject& object) {
    auto node = Access::as<Node>(object);
    return node ? node->type->name : MString();
}

MString dagParentName(const MObject& object) {
    auto node = Access::as<Node>(object);
    if (!node || !node->firstParent() || node->firstParent()->isWorld()) {
        return MString();
    }
    return node->firstParent()->name;
}

std::string connectionProblem(const MPlug& source, const MPlug& destination) {
    if (source.isNull() || destination.isNull()) {
        return "No such attribute.";
    }
    return connectionProblem(
        Connection{Access::node(source),
                   {Access::attribute(source), Access::index(source)},
                   Access::node(destination),
                   {Access::attribute(destination), Access::index(destination)}});
}

}  // namespace host
