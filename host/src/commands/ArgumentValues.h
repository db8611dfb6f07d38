#pragma once

#include <maya/MArgList.h>

// Reading one command word as a value of the type a flag or method asks for.
namespace host {

bool argumentAsBool(const host::ArgItem& item, bool* value);
bool argumentAsInt(const host::ArgItem& item, int* value);
bool argumentAsUnsigned(const host::ArgItem& item, unsigned int* value);
bool argumentAsDouble(const host::ArgItem& item, double* value);
// Any word but a flag reads as a string; numbers keep the digits they were written with.
bool argumentAsString(const host::ArgItem& item, std::string* value);

}  // namespace host
