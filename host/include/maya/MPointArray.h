#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>

#include <iosfwd>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Growable array of MPoint values.
class MPointArray {
public:
    MPointArray();
    MPointArray(const MPointArray& other);
    MPointArray(const MPoint src[], unsigned int count);
    MPointArray(unsigned int initialSize, const MPoint& initialValue = MPoint::origin);
    ~MPointArray();

    MPointArray& operator=(const MPointArray& other);
    const MPoint& operator[](unsigned int index) const;
    MPoint& operator[](unsigned int index);

    MStatus set(const MPoint& element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(const MPoint& element, unsigned int index);
    MStatus append(const MPoint& element);
    MStatus copy(const MPointArray& source);
    MStatus clear();
    MStatus get(double array[][4]) const;
    MStatus get(float array[][4]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;
    MStatus set(unsigned int index, double x, double y, double z = 0.0, double w = 1.0);
    MStatus append(double x, double y, double z = 0.0, double w = 1.0);
    MStatus append(const MVector& vector);

private:
    std::vector<MPoint> values_;
    unsigned int sizeIncrement_ = 1;
};

std::ostream& operator<<(std::ostream& out, const MPointArray& array);

OPENMAYA_NAMESPACE_CLOSE
