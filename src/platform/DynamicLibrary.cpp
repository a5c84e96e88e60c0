#include "platform/DynamicLibrary.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

#include <utility>

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
        unload();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

bool DynamicLibrary::isInExecutableDirectory(const QString& path) {
    if (!QDir::isAbsolutePath(path))
        return false;
    // Cleaning first means "app/../elsewhere/x.so" is judged by where it really points.
    const QFileInfo file(QDir::cleanPath(path));
    return !file.fileName().isEmpty() &&
           file.path() == QDir::cleanPath(Paths::executableDirectory());
}

bool DynamicLibrary::load(const QString& path) {
    unload();
    if (!isInExecutableDirectory(path))
        return false;
    // A path with a slash is opened as it stands, never looked up along the search path.
    // Resolving everything now turns a library with missing dependencies into no library
    // at all, instead of one that fails at its first call.
    handle_ = ::dlopen(QFile::encodeName(QDir::cleanPath(path)).constData(), RTLD_NOW | RTLD_LOCAL);
    return handle_ != nullptr;
}

void DynamicLibrary::unload() {
    if (handle_)
        ::dlclose(std::exchange(handle_, nullptr));
}

void* DynamicLibrary::symbol(const char* name) const {
    return handle_ ? ::dlsym(handle_, name) : nullptr;
}
