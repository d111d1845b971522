#include "ui/backend.h"

namespace ui {
namespace {

Backend*& Installed() {
    static Backend* installed = nullptr;
    return installed;
}

} // namespace

Backend& CurrentBackend() {
    Backend* installed = Installed();
    return installed ? *installed : DefaultBackend();
}

ScopedBackend::ScopedBackend(Backend& backend) : saved_(Installed()) {
    Installed() = &backend;
}

ScopedBackend::~ScopedBackend() {
    Installed() = saved_;
}

} // namespace ui
