#include <maya/MPointArray.h>

#include <ostream>

#include "ArrayOps.h"

MPointArray::MPointArray() = default;
MPointArray::MPointArray(const MPointArray& other) = default;
MPointArray::MPointArray(const MPoint src[], unsigned int count) : values_(src, src + count) {}
MPointArray::MPointArray(unsigned int initialSize, const MPoint& initialValue)
    : values_(initialSize, initialValue) {}
MPointArray::~MPointArray() = default;

MPointArray& MPointArray::operator=(const MPointArray& other) = default;
const MPoint& MPointArray::operator[](unsigned int index) const {
    return values_.at(index);
}
MPoint& MPointArray::operator[](unsigned int index) {
    return values_.at(index);
}

MStatus MPointArray::set(const MPoint& element, unsigned int index) {
    return values::setAt(values_, element, index);
}

MStatus MPointArray::setLength(unsigned int length) {
    values_.resize(length);
    return MStatus::kSuccess;
}

unsigned int MPointArray::length() const {
    return static_cast<unsigned int>(values_.size());
}
MStatus MPointArray::remove(unsigned int index) {
    return values::removeAt(values_, index);
}

MStatus MPointArray::insert(const MPoint& element, unsigned int index) {
    return values::insertAt(values_, element, index);
}

MStatus MPointArray::append(const MPoint& element) {
    values_.push_back(element);
    return MStatus::kSuccess;
}

MStatus MPointArray::copy(const MPointArray& source) {
    values_ = source.values_;
    return MStatus::kSuccess;
}

MStatus MPointArray::clear() {
    values_.clear();
    return MStatus::kSuccess;
}

MStatus MPointArray::get(double array[][4]) const {
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i].get(array[i]);
    }
    return MStatus::kSuccess;
}

MStatus MPointArray::get(float array[][4]) const {
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i].get(array[i]);
    }
    return MStatus::kSuccess;
}

// Storage grows as needed; the increment is kept only to be reported back.
void MPointArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}
unsigned int MPointArray::sizeIncrement() const {
    return sizeIncrement_;
}

MStatus MPointArray::set(unsigned int index, double x, double y, double z, double w) {
    return set(MPoint(x, y, z, w), index);
}

MStatus MPointArray::append(double x, double y, double z, double w) {
    return append(MPoint(x, y, z, w));
}

MStatus MPointArray::append(const MVector& vector) {
    return append(MPoint(vector));
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MPointArray& array) {
    std::vector<MPoint> values;
    for (unsigned int i = 0; i < array.length(); ++i) {
        values.push_back(array[i]);
    }
    return values::print(out, values);
}

OPENMAYA_NAMESPACE_CLOSE
