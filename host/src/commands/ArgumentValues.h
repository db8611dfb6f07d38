#pragma once

#include <maya/MArgList.h>

// Reading one command word as a value of the type a flag or method asks for.
namespace host {

bool argumentAsBool(const MArgList::Item& item, bool* value);
bool argumentAsInt(const MArgList::Item& item, int* value);
bool argumentAsUnsigned(const MArgList::Item& item, unsigned int* value);
bool argumentAsDouble(const MArgList::Item& item, double* value);
// Any word but a flag reads as a string; numbers keep the digits they were written with.
bool argumentAsString(const MArgList::Item& item, std::string* value);

}  // namespace host
