#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MDagPath.h>
#include <maya/MStatus.h>

#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Growable array of DAG paths.
class MDagPathArray {
public:
    MDagPathArray();
    MDagPathArray(const MDagPathArray& other);
    MDagPathArray(unsigned int initialSize, const MDagPath& initialValue = MDagPath());
    ~MDagPathArray();

    MDagPathArray& operator=(const MDagPathArray& other);
    const MDagPath& operator[](unsigned int index) const;
    MDagPath& operator[](unsigned int index);

    MStatus set(const MDagPath& element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MDagPath& element, unsigned int index);
    MStatus append(const MDagPath& element);
    MStatus copy(const MDagPathArray& source);
    MStatus clear();

private:
    std::vector<MDagPath> values_;
};

OPENMAYA_NAMESPACE_CLOSE
