#pragma once

#include <maya/MStatus.h>

#include <ostream>
#include <vector>

// Element operations shared by the value array classes; out-of-range indices fail.
namespace values {

template <typename T>
MStatus setAt(std::vector<T>& values, const T& element, unsigned int index) {
    if (index >= values.size()) {
        return MStatus::kFailure;
    }
    values[index] = element;
    return MStatus::kSuccess;
}

template <typename T>
MStatus removeAt(std::vector<T>& values, unsigned int index) {
    if (index >= values.size()) {
        return MStatus::kFailure;
    }
    values.erase(values.begin() + index);
    return MStatus::kSuccess;
}

template <typename T>
MStatus insertAt(std::vector<T>& values, const T& element, unsigned int index) {
    if (index > values.size()) {
        return MStatus::kFailure;
    }
    values.insert(values.begin() + index, element);
    return MStatus::kSuccess;
}

template <typename T>
MStatus copyOut(const std::vector<T>& values, T destination[]) {
    if (destination == nullptr) {
        return MStatus::kInvalidParameter;
    }
    for (size_t i = 0; i < values.size(); ++i) {
        destination[i] = values[i];
    }
    return MStatus::kSuccess;
}

template <typename T>
std::ostream& print(std::ostream& out, const std::vector<T>& values) {
    out << '[';
    for (size_t i = 0; i < values.size(); ++i) {
        out << (i == 0 ? "" : ", ") << values[i];
    }
    return out << ']';
}

}  // namespace values
