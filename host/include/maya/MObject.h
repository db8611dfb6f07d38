#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFn.h>

#include <memory>

namespace host {
class Entity;
struct Access;
}  // namespace host

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Handle to something the host owns: a node, an attribute or a data value. Copies refer to the
// same thing; the null object refers to nothing.
class MObject {
public:
    MObject();
    MObject(const MObject& other);
    ~MObject();

    MObject& operator=(const MObject& other);

    bool hasFn(MFn::Type fs) const;
    bool isNull() const;
    MFn::Type apiType() const;
    const char* apiTypeStr() const;

    bool operator==(const MObject& other) const;
    bool operator!=(const MObject& other) const;

    static MObject kNullObj;

private:
    friend struct host::Access;
    std::shared_ptr<host::Entity> entity_;
};

OPENMAYA_NAMESPACE_CLOSE
