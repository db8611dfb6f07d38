#include <host/PlugText.h>

#include "dg/Access.h"
#include "dg/SceneGraph.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace host {
namespace {

struct NameComponent {
    std::string name;
    int index = -1;
};

// "attr[3]" into its name and index; false for malformed brackets.
bool parseComponent(const std::string& text, NameComponent& component) {
    const auto open = text.find('[');
    if (open == std::string::npos) {
        component.name = text;
        return !text.empty();
    }
    if (text.back() != ']' || open == 0) {
        return false;
    }
    const std::string digits = text.substr(open + 1, text.size() - open - 2);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    component.name = text.substr(0, open);
    component.index = std::atoi(digits.c_str());
    return true;
}

}  // namespace

MStatus findPlugByName(const MString& name, MPlug& plug) {
    const std::string text = name.asChar();
    const auto dot = text.find('.');
    if (dot == std::string::npos) {
        return MStatus::kInvalidParameter;
    }
    Node* node = SceneGraph::instance().find(text.substr(0, dot).c_str());
    if (!node) {
        return MStatus::kInvalidParameter;
    }
    std::vector<NameComponent> components;
    std::string rest = text.substr(dot + 1);
    for (std::size_t start = 0;;) {
        const auto end = rest.find('.', start);
        NameComponent component;
        if (!parseComponent(rest.substr(start, end - start), component)) {
            return MStatus::kInvalidParameter;
        }
        components.push_back(component);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    const Attribute* parent = nullptr;
    const Attribute* attribute = nullptr;
    int index = -1;
    for (const NameComponent& component : components) {
        attribute = node->type->findAttribute(component.name.c_str());
        // Each component after the first names a child of the one before.
        if (!attribute || (parent && attribute->parent != parent) ||
            (component.index >= 0 && !attribute->array)) {
            return MStatus::kInvalidParameter;
        }
        parent = attribute;
        index = component.index;
    }
    plug = Access::plug(node->sharedFromThis(), attribute, index);
    return MStatus::kSuccess;
}

}  // namespace host
