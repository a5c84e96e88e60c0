#pragma once

#include <QString>

// A shared library loaded at run time. Only a file that lies directly in the executable
// directory, named by its absolute path, is ever loaded: nothing is searched for along the
// library path, so no other folder can slip a library of the same name in. A library that is
// missing or refused simply stays unloaded, and its exports are then all missing.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    explicit DynamicLibrary(const QString& path) { load(path); }
    ~DynamicLibrary() { unload(); }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

    // Unloads what was loaded before. False when the path is relative, does not lie directly
    // in the executable directory, or the file cannot be loaded with all it needs.
    bool load(const QString& path);
    void unload();
    bool isLoaded() const { return handle_ != nullptr; }

    // The exported function, or nullptr when the library is not loaded or lacks it.
    template <typename Function>
    Function* function(const char* name) const {
        return reinterpret_cast<Function*>(symbol(name));
    }
    void* symbol(const char* name) const;

    // True when the path names a file directly in the executable directory.
    static bool isInExecutableDirectory(const QString& path);

private:
    void* handle_ = nullptr;
};
