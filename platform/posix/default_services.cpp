#include "platform/file_system.h"
#include "platform/font_enumerator.h"
#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"

namespace platform {

// Natively nothing outside the process is touched: one registry in memory for the whole process,
// a launcher that only records, a fixed list of fonts and a file system without files.
Services DefaultServices() {
    static MemoryRegistry registry;
    static RecordingLauncher launcher;
    static FixedFontEnumerator fonts;
    static KnownFiles files;
    return Services{&registry, &launcher, &fonts, &files};
}

} // namespace platform
