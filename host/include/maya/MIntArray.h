#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <iosfwd>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Growable array of int values.
class MIntArray {
public:
    MIntArray();
    MIntArray(const MIntArray& other);
    MIntArray(const int src[], unsigned int count);
    MIntArray(unsigned int initialSize, int initialValue = 0);
    ~MIntArray();

    MIntArray& operator=(const MIntArray& other);
    int operator[](unsigned int index) const;
    int& operator[](unsigned int index);

    MStatus set(int element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(int element, unsigned int index);
    MStatus append(int element);
    MStatus copy(const MIntArray& source);
    MStatus clear();
    MStatus get(int array[]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;

private:
    std::vector<int> values_;
    unsigned int sizeIncrement_ = 1;
};

std::ostream& operator<<(std::ostream& out, const MIntArray& array);

OPENMAYA_NAMESPACE_CLOSE
