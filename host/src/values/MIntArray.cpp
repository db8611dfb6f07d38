#include <maya/MIntArray.h>

#include <ostream>

#include "ArrayOps.h"

MIntArray::MIntArray() = default;
MIntArray::MIntArray(const MIntArray& other) = default;
MIntArray::MIntArray(const int src[], unsigned int count) : values_(src, src + count) {}
MIntArray::MIntArray(unsigned int initialSize, int initialValue)
    : values_(initialSize, initialValue) {}
MIntArray::~MIntArray() = default;

MIntArray& MIntArray::operator=(const MIntArray& other) = default;
int MIntArray::operator[](unsigned int index) const {
    return values_.at(index);
}
int& MIntArray::operator[](unsigned int index) {
    return values_.at(index);
}

MStatus MIntArray::set(int element, unsigned int index) {
    return values::setAt(values_, element, index);
}

MStatus MIntArray::setLength(unsigned int length) {
    values_.resize(length);
    return MStatus::kSuccess;
}

unsigned int MIntArray::length() const {
    return static_cast<unsigned int>(values_.size());
}
MStatus MIntArray::remove(unsigned int index) {
    return values::removeAt(values_, index);
}

MStatus MIntArray::insert(int element, unsigned int index) {
    return values::insertAt(values_, element, index);
}

MStatus MIntArray::append(int element) {
    values_.push_back(element);
    return MStatus::kSuccess;
}

MStatus MIntArray::copy(const MIntArray& source) {
    values_ = source.values_;
    return MStatus::kSuccess;
}

MStatus MIntArray::clear() {
    values_.clear();
    return MStatus::kSuccess;
}

MStatus MIntArray::get(int array[]) const {
    return values::copyOut(values_, array);
}

// Storage grows as needed; the increment is kept only to be reported back.
void MIntArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}
unsigned int MIntArray::sizeIncrement() const {
    return sizeIncrement_;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MIntArray& array) {
    std::vector<int> values(array.length());
    array.get(values.data());
    return values::print(out, values);
}

OPENMAYA_NAMESPACE_CLOSE
