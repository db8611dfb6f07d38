#include <maya/MStringArray.h>

#include <ostream>

#include "ArrayOps.h"

MStringArray::MStringArray() = default;
MStringArray::MStringArray(const MStringArray& other) = default;
MStringArray::MStringArray(const MString src[], unsigned int count) : values_(src, src + count) {}
MStringArray::MStringArray(unsigned int initialSize, const MString& initialValue)
    : values_(initialSize, initialValue) {}
MStringArray::~MStringArray() = default;

MStringArray& MStringArray::operator=(const MStringArray& other) = default;
const MString& MStringArray::operator[](unsigned int index) const {
    return values_.at(index);
}
MString& MStringArray::operator[](unsigned int index) {
    return values_.at(index);
}

MStatus MStringArray::set(const MString& element, unsigned int index) {
    return values::setAt(values_, element, index);
}

MStatus MStringArray::setLength(unsigned int length) {
    values_.resize(length);
    return MStatus::kSuccess;
}

unsigned int MStringArray::length() const {
    return static_cast<unsigned int>(values_.size());
}
MStatus MStringArray::remove(unsigned int index) {
    return values::removeAt(values_, index);
}

MStatus MStringArray::insert(const MString& element, unsigned int index) {
    return values::insertAt(values_, element, index);
}

MStatus MStringArray::append(const MString& element) {
    values_.push_back(element);
    return MStatus::kSuccess;
}

MStatus MStringArray::clear() {
    values_.clear();
    return MStatus::kSuccess;
}

MStatus MStringArray::get(MString array[]) const {
    return values::copyOut(values_, array);
}

// Storage grows as needed; the increment is kept only to be reported back.
void MStringArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}
unsigned int MStringArray::sizeIncrement() const {
    return sizeIncrement_;
}

int MStringArray::indexOf(const MString& element) const {
    for (size_t i = 0; i < values_.size(); ++i) {
        if (values_[i] == element) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MStringArray& array) {
    std::vector<MString> values(array.length());
    array.get(values.data());
    return values::print(out, values);
}

OPENMAYA_NAMESPACE_CLOSE
