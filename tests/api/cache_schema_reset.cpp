// MCacheSchema::reset is deprecated since 2022.
#include <maya/MCacheSchema.h>

void clear(MCacheSchema& schema) {
    schema.reset();
}
