#include "platform/services.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_fonts.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_registry.h"

namespace platform {

Services DefaultServices() {
    static Win32Registry registry;
    static Win32Launcher launcher;
    static Win32FontEnumerator fonts;
    static Win32FileSystem files;
    return Services{&registry, &launcher, &fonts, &files};
}

} // namespace platform
