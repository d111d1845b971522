#include "platform/file_system.h"
#include "platform/font_enumerator.h"
#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "platform/short_path_names.h"

namespace platform {

// Natively nothing outside the process is touched: one registry in memory for the whole process,
// a launcher that only records, a fixed list of fonts, a file system without files and no short
// path forms.
Services DefaultServices() {
    static MemoryRegistry registry;
    static RecordingLauncher launcher;
    static FixedFontEnumerator fonts;
    static KnownFiles files;
    static FixedShortPathNames shortPaths;
    return Services{&registry, &launcher, &fonts, &files, &shortPaths};
}

} // namespace platform
