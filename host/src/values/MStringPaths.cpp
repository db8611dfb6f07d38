#include <maya/MString.h>

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Replaces $NAME and ${NAME}; a '$' that starts neither form, and a variable that is not set, is
// kept as written (the latter clears `allFound`).
std::string expandVariables(const std::string& text, bool& allFound) {
    allFound = true;
    const auto append = [&](std::string& result, const std::string& name,
                            const std::string& written) {
        const char* value = std::getenv(name.c_str());
        allFound = allFound && value != nullptr;
        result += value != nullptr ? value : written;
    };
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
                append(result, text.substr(i + 2, close - i - 2), text.substr(i, close + 1 - i));
                i = close + 1;
                continue;
            }
        } else {
            size_t end = i + 1;
            while (end < text.size() && isNameChar(text[end])) {
                ++end;
            }
            if (end > i + 1) {
                append(result, text.substr(i + 1, end - i - 1), text.substr(i, end - i));
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
    const char* home = std::getenv("HOME");
    return home != nullptr ? home + text.substr(1) : text;
}

}  // namespace

MString MString::expandEnvironmentVariablesAndTilde(MStatus* ReturnStatus) const {
    bool allFound = true;
    const std::string expanded = expandVariables(expandTilde(text_), allFound);
    if (ReturnStatus != nullptr) {
        *ReturnStatus = allFound ? MStatus::kSuccess : MStatus::kNotFound;
    }
    return MString(expanded.c_str());
}

// Maya's expandFilePath also tidies path lists (";;", "::"); a single file path, all this host
// is given, only has its variables and tilde expanded.
MString MString::expandFilePath(MStatus* ReturnStatus) const {
    return expandEnvironmentVariablesAndTilde(ReturnStatus);
}
