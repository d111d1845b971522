#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"

namespace platform {

// Natively nothing outside the process is touched: one registry in memory for the whole process
// and a launcher that only records.
Services DefaultServices() {
    static MemoryRegistry registry;
    static RecordingLauncher launcher;
    return Services{&registry, &launcher};
}

} // namespace platform
