#include "store/ProfileInfo.h"

#include <algorithm>

QString ProfileInfo::programFileOf(const QString& programPath) {
    const qsizetype slash = std::max(programPath.lastIndexOf(QLatin1Char('/')),
                                     programPath.lastIndexOf(QLatin1Char('\\')));
    return programPath.mid(slash + 1);
}
