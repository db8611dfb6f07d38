#include <maya/MDoubleArray.h>

#include <ostream>

#include "ArrayOps.h"

MDoubleArray::MDoubleArray() = default;
MDoubleArray::MDoubleArray(const MDoubleArray& other) = default;
MDoubleArray::MDoubleArray(const double src[], unsigned int count) : values_(src, src + count) {}
MDoubleArray::MDoubleArray(unsigned int initialSize, double initialValue)
    : values_(initialSize, initialValue) {}
MDoubleArray::~MDoubleArray() = default;

MDoubleArray& MDoubleArray::operator=(const MDoubleArray& other) = default;
double MDoubleArray::operator[](unsigned int index) const {
    return values_.at(index);
}
double& MDoubleArray::operator[](unsigned int index) {
    return values_.at(index);
}

MStatus MDoubleArray::set(double element, unsigned int index) {
    return values::setAt(values_, element, index);
}

MStatus MDoubleArray::setLength(unsigned int length) {
    values_.resize(length);
    return MStatus::kSuccess;
}

unsigned int MDoubleArray::length() const {
    return static_cast<unsigned int>(values_.size());
}
MStatus MDoubleArray::remove(unsigned int index) {
    return values::removeAt(values_, index);
}

MStatus MDoubleArray::insert(double element, unsigned int index) {
    return values::insertAt(values_, element, index);
}

MStatus MDoubleArray::append(double element) {
    values_.push_back(element);
    return MStatus::kSuccess;
}

MStatus MDoubleArray::copy(const MDoubleArray& source) {
    values_ = source.values_;
    return MStatus::kSuccess;
}

MStatus MDoubleArray::clear() {
    values_.clear();
    return MStatus::kSuccess;
}

MStatus MDoubleArray::get(double array[]) const {
    return values::copyOut(values_, array);
}

// Storage grows as needed; the increment is kept only to be reported back.
void MDoubleArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}
unsigned int MDoubleArray::sizeIncrement() const {
    return sizeIncrement_;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MDoubleArray& array) {
    std::vector<double> values(array.length());
    array.get(values.data());
    return values::print(out, values);
}

OPENMAYA_NAMESPACE_CLOSE
