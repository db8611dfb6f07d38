#pragma once

#include <maya/MFn.h>
#include <maya/MMatrix.h>
#include <maya/MString.h>

#include <memory>

namespace host {

// What an MObject refers to: a node, an attribute or a data value.
class Entity : public std::enable_shared_from_this<Entity> {
public:
    virtual ~Entity() = default;
    virtual MFn::Type apiType() const = 0;
    virtual bool hasFn(MFn::Type type) const = 0;
};

// A data value handed around as an MObject (string or matrix data).
class Data : public Entity {
public:
    explicit Data(MFn::Type dataType) : dataType_(dataType) {}
    MFn::Type apiType() const override { return dataType_; }
    bool hasFn(MFn::Type type) const override {
        return type == dataType_ || type == MFn::kData || type == MFn::kBase;
    }

    MString text;
    MMatrix matrix;

private:
    MFn::Type dataType_;
};

}  // namespace host
