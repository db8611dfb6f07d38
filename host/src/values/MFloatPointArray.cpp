#include <maya/MFloatPointArray.h>

#include <algorithm>
#include <ostream>

#include "ArrayOps.h"

MFloatPointArray::MFloatPointArray() = default;
MFloatPointArray::MFloatPointArray(const MFloatPointArray& other) = default;
MFloatPointArray::MFloatPointArray(const MFloatPoint src[], unsigned int count)
    : values_(src, src + count) {}
MFloatPointArray::MFloatPointArray(unsigned int initialSize, const MFloatPoint& initialValue)
    : values_(initialSize, initialValue) {}
MFloatPointArray::~MFloatPointArray() = default;

MFloatPointArray& MFloatPointArray::operator=(const MFloatPointArray& other) = default;
const MFloatPoint& MFloatPointArray::operator[](unsigned int index) const {
    return values_.at(index);
}
MFloatPoint& MFloatPointArray::operator[](unsigned int index) {
    return values_.at(index);
}

MStatus MFloatPointArray::set(const MFloatPoint& element, unsigned int index) {
    return values::setAt(values_, element, index);
}

MStatus MFloatPointArray::setLength(unsigned int length) {
    values_.resize(length);
    return MStatus::kSuccess;
}

unsigned int MFloatPointArray::length() const {
    return static_cast<unsigned int>(values_.size());
}
MStatus MFloatPointArray::remove(unsigned int index) {
    return values::removeAt(values_, index);
}

MStatus MFloatPointArray::insert(const MFloatPoint& element, unsigned int index) {
    return values::insertAt(values_, element, index);
}

MStatus MFloatPointArray::append(const MFloatPoint& element) {
    values_.push_back(element);
    return MStatus::kSuccess;
}

MStatus MFloatPointArray::copy(const MFloatPointArray& source) {
    values_ = source.values_;
    return MStatus::kSuccess;
}

MStatus MFloatPointArray::clear() {
    values_.clear();
    return MStatus::kSuccess;
}

MStatus MFloatPointArray::get(float array[][4]) const {
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i].get(array[i]);
    }
    return MStatus::kSuccess;
}

MStatus MFloatPointArray::get(double array[][4]) const {
    for (std::size_t i = 0; i < values_.size(); ++i) {
        const MFloatPoint& point = values_[i];
        const double coordinates[4] = {point.x, point.y, point.z, point.w};
        std::copy(coordinates, coordinates + 4, array[i]);
    }
    return MStatus::kSuccess;
}

// Storage grows as needed; the increment is kept only to be reported back.
void MFloatPointArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}
unsigned int MFloatPointArray::sizeIncrement() const {
    return sizeIncrement_;
}

MStatus MFloatPointArray::set(unsigned int index, float x, float y, float z, float w) {
    return set(MFloatPoint(x, y, z, w), index);
}

MStatus MFloatPointArray::append(float x, float y, float z, float w) {
    return append(MFloatPoint(x, y, z, w));
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MFloatPointArray& array) {
    std::vector<MFloatPoint> values;
    for (unsigned int i = 0; i < array.length(); ++i) {
        values.push_back(array[i]);
    }
    return values::print(out, values);
}

OPENMAYA_NAMESPACE_CLOSE
