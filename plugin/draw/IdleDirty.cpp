#include "draw/IdleDirty.h"

#include <maya/MGlobal.h>

void dirtyOnIdle(const MString& plugName) {
    MGlobal::executeCommandOnIdle("dgdirty \"" + plugName + "\"", false);
}
