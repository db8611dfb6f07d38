#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <iosfwd>
#include <vector>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Growable array of double values.
class MDoubleArray {
public:
    MDoubleArray();
    MDoubleArray(const MDoubleArray& other);
    MDoubleArray(const double src[], unsigned int count);
    MDoubleArray(unsigned int initialSize, double initialValue = 0.0);
    ~MDoubleArray();

    MDoubleArray& operator=(const MDoubleArray& other);
    double operator[](unsigned int index) const;
    double& operator[](unsigned int index);

    MStatus set(double element, unsigned int index);
    MStatus setLength(unsigned int length);
    unsigned int length() const;
    MStatus remove(unsigned int index);
    MStatus insert(double element, unsigned int index);
    MStatus append(double element);
    MStatus copy(const MDoubleArray& source);
    MStatus clear();
    MStatus get(double array[]) const;
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const;

private:
    std::vector<double> values_;
    unsigned int sizeIncrement_ = 1;
};

std::ostream& operator<<(std::ostream& out, const MDoubleArray& array);

OPENMAYA_NAMESPACE_CLOSE
