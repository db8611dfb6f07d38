#include "builtins/ColorSettings.h"

namespace host::builtins {

ColorSettings& colorSettings() {
    static ColorSettings settings;
    return settings;
}

}  // namespace host::builtins
