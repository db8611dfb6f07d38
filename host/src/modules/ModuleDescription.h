#pragma once

#include <string>
#include <vector>

// One module description file, as Autodesk documents the format:
//
//   + [MAYAVERSION:2024] [PLATFORM:linux] [LOCALE:en_US] Name Version Path
//   plug-ins: folder          scripts: folder
//   VARIABLE = value          VARIABLE += value
//   VARIABLE := path          VARIABLE +:= path
//
// Path is the module's root, relative to the .mod file's folder unless absolute. ":=" takes its
// value as a path relative to that root; "+" appends to what the variable holds.
namespace host::modules {

struct Assignment {
    std::string variable;
    std::string value;
    bool append = false;
};

struct Module {
    std::string name;
    std::string version;
    std::string root;
    // Empty: the root's "plug-ins" / "scripts" folder.
    std::string plugInFolder;
    std::string scriptFolder;
    std::vector<Assignment> assignments;
};

// What a module line's conditions are compared with.
struct Platform {
    std::string mayaVersion;  // "2024"
    std::string platform;     // "linux"
    std::string locale;       // "en_US"
};

// The modules of the file's text whose conditions this platform meets, in file order.
std::vector<Module> parseModuleFile(const std::string& text, const std::string& fileFolder,
                                    const Platform& platform);

}  // namespace host::modules
