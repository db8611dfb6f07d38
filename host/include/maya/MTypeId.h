#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Identifier of a node or data type: a 24-bit prefix and an 8-bit id, or one 32-bit id.
class MTypeId {
public:
    MTypeId();
    MTypeId(unsigned int id);
    MTypeId(unsigned int prefix, unsigned int id);
    MTypeId(const MTypeId& src);
    ~MTypeId();

    MTypeId& operator=(const MTypeId& src);
    bool operator==(const MTypeId& other) const;
    bool operator!=(const MTypeId& other) const;
    unsigned int id(MStatus* ReturnStatus = nullptr) const;

private:
    unsigned int id_ = 0;
};

OPENMAYA_NAMESPACE_CLOSE
