#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <utility>
#include <vector>

// Sets or unsets environment variables for one scope and puts back what was there, so a
// case that changes where the tool looks for its folders leaves no trace in the next.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            apply(it->first, it->second);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // nullopt unsets the variable.
    void set(const char* name, std::optional<QByteArray> value) {
        std::optional<QByteArray> old;
        if (qEnvironmentVariableIsSet(name))
            old = qgetenv(name);
        saved_.emplace_back(name, std::move(old));
        apply(name, value);
    }

private:
    static void apply(const char* name, const std::optional<QByteArray>& value) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }

    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};
