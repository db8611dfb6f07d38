#include "script/CommandValues.h"

#include "builtins/BuiltinSupport.h"
#include "script/Lexer.h"

namespace host::script {

void appendCommandWords(const ArgumentValue& argument, MArgList& args, std::string& text) {
    if (argument.kind != ArgumentValue::kValue) {
        host::ArgItem item;
        item.text = argument.value.asString();
        text += " " + item.text;
        if (argument.kind == ArgumentValue::kFlag) {
            item.kind = host::ArgItem::kFlag;
            item.text.erase(0, 1);
        } else if (parseNumber(item.text, &item.number)) {
            item.kind = host::ArgItem::kNumber;
        }
        host::ArgListAccess::append(args, item);
        return;
    }
    std::vector<Value> scalars =
        argument.value.isArray() ? argument.value.elements() : std::vector<Value>{argument.value};
    for (const Value& scalar : scalars) {
        host::ArgItem item;
        item.text = scalar.asString();
        if (scalar.type() == Value::kInt || scalar.type() == Value::kFloat) {
            item.kind = host::ArgItem::kNumber;
            item.number = scalar.asFloat();
            text += " " + item.text;
        } else {
            item.kind = host::ArgItem::kQuoted;
            text += " " + builtins::scriptWord(item.text, true);
        }
        host::ArgListAccess::append(args, item);
    }
}

Value valueOfResult(const CommandResult& result) {
    std::vector<Value> scalars;
    Value::Type element = Value::kString;
    switch (result.type) {
        case CommandResult::kInt:
            element = Value::kInt;
            for (int number : result.ints) {
                scalars.push_back(Value::ofInt(number));
            }
            break;
        case CommandResult::kDouble:
            element = Value::kFloat;
            for (double number : result.doubles) {
                scalars.push_back(Value::ofFloat(number));
            }
            break;
        case CommandResult::kString:
            for (const std::string& text : result.strings) {
                scalars.push_back(Value::ofString(text));
            }
            break;
        default:
            return Value();
    }
    if (!result.isArray) {
        return scalars.empty() ? Value::empty(element) : scalars.front();
    }
    Value array = Value::empty(Value::arrayType(element));
    for (const Value& scalar : scalars) {
        array.append(scalar);
    }
    return array;
}

CommandResult resultOfValue(const Value& value) {
    CommandResult result;
    result.isArray = value.isArray();
    std::vector<Value> scalars = value.isArray() ? value.elements() : std::vector<Value>{value};
    switch (Value::elementType(value.type())) {
        case Value::kInt:
            result.type = CommandResult::kInt;
            for (const Value& scalar : scalars) {
                result.ints.push_back(static_cast<int>(scalar.asInt()));
            }
            break;
        case Value::kFloat:
            result.type = CommandResult::kDouble;
            for (const Value& scalar : scalars) {
                result.doubles.push_back(scalar.asFloat());
            }
            break;
        case Value::kString:
            result.type = CommandResult::kString;
            for (const Value& scalar : scalars) {
                result.strings.push_back(scalar.asString());
            }
            break;
        default:
            break;
    }
    return result;
}

}  // namespace host::script
