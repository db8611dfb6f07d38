#pragma once

#include <string>

// Script files: a name with a folder is used as given; a bare name is looked for in the folders
// of MAYA_SCRIPT_PATH, then in the current folder, as written and with ".mel" added.
namespace host::script {

// The path of the script file, "" when there is none.
std::string findScriptFile(const std::string& name);
bool readScriptFile(const std::string& path, std::string* text);

}  // namespace host::script
