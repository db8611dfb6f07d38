#include "messages/CallbackIds.h"

namespace host {

MCallbackId newCallbackId() {
    static MCallbackId next = 1;
    return next++;
}

}  // namespace host
