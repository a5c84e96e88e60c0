#include "model/DefaultName.h"

namespace {

// Joined by hand rather than through arg(), which would read a '%' in the prefix.
QString candidate(const QString& prefix, qsizetype k) {
    return prefix + QLatin1Char(' ') + QString::number(k);
}

}  // namespace

QString defaultName(const QString& prefix, const QStringList& names) {
    const qsizetype n = names.size();
    for (qsizetype k = 1; k <= n; ++k)
        if (!names.contains(candidate(prefix, k), Qt::CaseSensitive))
            return candidate(prefix, k);
    return candidate(prefix, n + 1);
}
