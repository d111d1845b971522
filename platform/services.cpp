#include "platform/services.h"

namespace platform {

Services& CurrentServices() {
    static Services current = DefaultServices();
    return current;
}

} // namespace platform
