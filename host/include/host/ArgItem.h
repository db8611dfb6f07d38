#pragma once

#include <maya/MApiNamespace.h>

#include <string>
#include <vector>

namespace host {

// One word of a command call and how it was written.
struct ArgItem {
    enum Kind { kWord, kQuoted, kNumber, kFlag };
    Kind kind = kWord;
    std::string text;  // flags without the leading '-'
    double number = 0.0;
};

// The host's way to build an MArgList from a script's words and to read them back.
struct ArgListAccess {
    static void append(MArgList& args, const ArgItem& item);
    static const std::vector<ArgItem>& items(const MArgList& args);
};

}  // namespace host
