#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDeprecate.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Base class of the data a draw override hands from preparation to drawing. The host keeps
// the object and passes it back to the next preparation; only data marked with the deprecated
// deleteAfterUse is deleted once drawn.
class MUserData {
public:
    MUserData();
    OPENMAYA_DEPRECATED(2022, "Use MUserData() and let the draw override own its data.")
    MUserData(bool deleteAfterUse);
    virtual ~MUserData();

    OPENMAYA_DEPRECATED(2022, "Use MUserData() and let the draw override own its data.")
    bool deleteAfterUse();
    OPENMAYA_DEPRECATED(2022, "Use MUserData() and let the draw override own its data.")
    void setDeleteAfterUse(bool deleteAfterUse);

private:
    bool deleteAfterUse_;
};

OPENMAYA_NAMESPACE_CLOSE
