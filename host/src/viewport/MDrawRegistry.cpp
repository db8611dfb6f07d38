#include <maya/MDrawRegistry.h>

#include "viewport/DrawOverrideTable.h"

OPENMAYA_MAJOR_NAMESPACE_OPEN
namespace MHWRender {

MStatus MDrawRegistry::registerDrawOverrideCreator(const MString& drawClassification,
                                                   const MString& registrantId,
                                                   DrawOverrideCreator creator) {
    return host::DrawOverrideTable::instance().registerCreator(drawClassification.asChar(),
                                                               registrantId.asChar(), creator);
}

MStatus MDrawRegistry::deregisterDrawOverrideCreator(const MString& drawClassification,
                                                     const MString& registrantId) {
    return host::DrawOverrideTable::instance().deregisterCreator(drawClassification.asChar(),
                                                                 registrantId.asChar());
}

}  // namespace MHWRender
OPENMAYA_NAMESPACE_CLOSE
