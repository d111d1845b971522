#pragma once
// The process's choice of platform services, made once: the Win32 implementations in the
// Windows build, the portable ones natively. Tests install their own for a scope.
namespace platform {

class Registry;
class ProgramLauncher;
class FontEnumerator;
class FileSystem;

struct Services {
    Registry* registry = nullptr;
    ProgramLauncher* launcher = nullptr;
    FontEnumerator* fonts = nullptr;
    FileSystem* files = nullptr;
};

// The platform's own services (defined once per build in win32/ or posix/).
Services DefaultServices();

// The services in use; DefaultServices() until something is installed.
Services& CurrentServices();
inline Registry& registry() {
    return *CurrentServices().registry;
}
inline ProgramLauncher& launcher() {
    return *CurrentServices().launcher;
}
inline FontEnumerator& fonts() {
    return *CurrentServices().fonts;
}
inline FileSystem& files() {
    return *CurrentServices().files;
}

// Installs other services for the lifetime of the object and restores the previous ones. A
// service left null keeps the one in use.
class ScopedServices {
public:
    explicit ScopedServices(const Services& services) : saved_(CurrentServices()) {
        Services& current = CurrentServices();
        if (services.registry)
            current.registry = services.registry;
        if (services.launcher)
            current.launcher = services.launcher;
        if (services.fonts)
            current.fonts = services.fonts;
        if (services.files)
            current.files = services.files;
    }
    ~ScopedServices() { CurrentServices() = saved_; }
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services saved_;
};

} // namespace platform
