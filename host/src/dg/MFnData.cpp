#include <maya/MFnData.h>
#include <maya/MFnMatrixData.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnStringData.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Data;
using host::setStatus;

MFnData::MFnData() = default;

MFnData::MFnData(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnData::~MFnData() = default;

MFn::Type MFnData::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kData;
}

MFnNumericData::MFnNumericData() = default;

MFnNumericData::MFnNumericData(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnNumericData::~MFnNumericData() = default;

MFn::Type MFnNumericData::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kNumericData;
}

MFnStringData::MFnStringData() = default;

MFnStringData::MFnStringData(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnStringData::~MFnStringData() = default;

MFn::Type MFnStringData::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kStringData;
}

MObject MFnStringData::create(MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return create(MString(), ReturnStatus);
}

MObject MFnStringData::create(const MString& text, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    auto data = std::make_shared<Data>(MFn::kStringData);
    data->text = text;
    object_ = Access::object(data);
    setStatus(ReturnStatus, MStatus::kSuccess);
    return object_;
}

MString MFnStringData::string(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto data = Access::as<Data>(object_);
    setStatus(ReturnStatus, data ? MStatus::kSuccess : MStatus::kFailure);
    return data ? data->text : MString();
}

MStatus MFnStringData::set(const MString& newString) {
    HOST_MAIN_THREAD_ONLY();
    auto data = Access::as<Data>(object_);
    if (!data) {
        return MStatus::kFailure;
    }
    data->text = newString;
    return MStatus::kSuccess;
}

MFnMatrixData::MFnMatrixData() = default;

MFnMatrixData::MFnMatrixData(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnMatrixData::~MFnMatrixData() = default;

MFn::Type MFnMatrixData::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kMatrixData;
}

MObject MFnMatrixData::create(MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return create(MMatrix(), ReturnStatus);
}

MObject MFnMatrixData::create(const MMatrix& matrix, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    auto data = std::make_shared<Data>(MFn::kMatrixData);
    data->matrix = matrix;
    object_ = Access::object(data);
    setStatus(ReturnStatus, MStatus::kSuccess);
    return object_;
}

const MMatrix& MFnMatrixData::matrix(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto data = Access::as<Data>(object_);
    setStatus(ReturnStatus, data ? MStatus::kSuccess : MStatus::kFailure);
    return data ? data->matrix : MMatrix::identity;
}

MStatus MFnMatrixData::set(const MMatrix& matrix) {
    HOST_MAIN_THREAD_ONLY();
    auto data = Access::as<Data>(object_);
    if (!data) {
        return MStatus::kFailure;
    }
    data->matrix = matrix;
    return MStatus::kSuccess;
}
