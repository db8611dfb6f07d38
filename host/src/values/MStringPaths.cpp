#include <maya/MString.h>

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::string variable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? value : "";
}

// Replaces $NAME and ${NAME}; a '$' that starts neither form is kept as it is.
std::string expandVariables(const std::string& text) {
    std::string result;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '$') {
            result += text[i++];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '{') {
            const size_t close = text.find('}', i + 2);
            if (close != std::string::npos) {
                result += variable(text.substr(i + 2, close - i - 2));
                i = close + 1;
                continue;
            }
        } else {
            size_t end = i + 1;
            while (end < text.size() && isNameChar(text[end])) {
                ++end;
            }
            if (end > i + 1) {
                result += variable(text.substr(i + 1, end - i - 1));
                i = end;
                continue;
            }
        }
        result += text[i++];
    }
    return result;
}

// A leading "~" alone or followed by '/' is the home folder; "~user" is left alone.
std::string expandTilde(const std::string& text) {
    if (text.empty() || text[0] != '~' || (text.size() > 1 && text[1] != '/')) {
        return text;
    }
    return variable("HOME") + text.substr(1);
}

}  // namespace

MString MString::expandEnvironmentVariablesAndTilde(MStatus* ReturnStatus) const {
    if (ReturnStatus != nullptr) {
        *ReturnStatus = MStatus::kSuccess;
    }
    return MString(expandVariables(expandTilde(text_)).c_str());
}

MString MString::expandFilePath(MStatus* ReturnStatus) const {
    return expandEnvironmentVariablesAndTilde(ReturnStatus);
}
