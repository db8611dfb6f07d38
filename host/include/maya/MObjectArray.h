#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Growable array of objects.
class MObjectArray {
public:
    MObjectArray();
    MObjectArray(const MObjectArray& other);
    MObjectArray(unsigned int initialSize, const MObject& initialValue = MObject::kNullObj);
    ~MObjectArray();

    MObjectArray& operator=(const MObjectArray& other);
    const MObject& operator[](unsigned int index) const;
    MObject& operator[](unsigned int index);

    MStatus set(const MObject& element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MObject& element, unsigned int index);
    MStatus append(const MObject& element);
    MStatus copy(const MObjectArray& source);
    MStatus clear();

private:
    std::vector<MObject> values_;
};

OPENMAYA_NAMESPACE_CLOSE
