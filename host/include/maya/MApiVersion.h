#pragma once

#include <maya/MTypes.h>

#define MAYA_API_VERSION_TEXT_OF(version) #version
#define MAYA_API_VERSION_TEXT(version) MAYA_API_VERSION_TEXT_OF(version)

// Exactly one source file of a plug-in includes MFnPlugin.h without MNoVersionString: it defines
// the version string the host reads when it loads the library, the API the plug-in was built with.
#ifndef MNoVersionString
extern "C" PLUGIN_EXPORT char MApiVersion[] = MAYA_API_VERSION_TEXT(MAYA_API_VERSION);
#endif
