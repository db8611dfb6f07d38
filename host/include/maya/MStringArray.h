#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <iosfwd>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Growable array of MString values.
class MStringArray {
public:
    MStringArray();
    MStringArray(const MStringArray& other);
    MStringArray(const MString src[], unsigned int count);
    MStringArray(unsigned int initialSize, const MString& initialValue);
    ~MStringArray();

    MStringArray& operator=(const MStringArray& other);
    const MString& operator[](unsigned int index) const;
    MString& operator[](unsigned int index);

    MStatus set(const MString& element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MString& element, unsigned int index);
    MStatus append(const MString& element);
    MStatus clear();
    MStatus get(MString array[]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    int indexOf(const MString& element) const;

private:
    std::vector<MString> values_;
    unsigned int sizeIncrement_ = 1;
};

std::ostream& operator<<(std::ostream& out, const MStringArray& array);

OPENMAYA_NAMESPACE_CLOSE
