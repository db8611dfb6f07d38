#pragma once

// Maya modules: at start-up Maya reads the module description files (*.mod) in the folders of
// MAYA_MODULE_PATH and adds each module's plug-in and script folders, and the variables its file
// sets, to its environment, before any plug-in is looked for.
namespace host {

// Reads the modules and changes this process's environment (MAYA_PLUG_IN_PATH,
// MAYA_SCRIPT_PATH and the variables the files name). Call once, before other threads start.
void applyMayaModules();

}  // namespace host
