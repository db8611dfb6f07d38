#pragma once

#include <maya/MApiNamespace.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Base class of the data a draw override hands from preparation to drawing. With
// deleteAfterUse false the host keeps the object and passes it back to the next preparation;
// with true it deletes the object once drawn.
class MUserData {
public:
    MUserData(bool deleteAfterUse);
    virtual ~MUserData();

    bool deleteAfterUse() const;
    void setDeleteAfterUse(bool deleteAfterUse);

private:
    bool deleteAfterUse_;
};

OPENMAYA_NAMESPACE_CLOSE
