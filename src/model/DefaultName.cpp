#include "model/DefaultName.h"

#include "model/StoredName.h"

namespace {

// Joined by hand rather than through arg(), which would read a '%' in the prefix. A long
// prefix gives way to the number: cut after it, every candidate would be stored the same.
QString candidate(const QString& prefix, qsizetype k) {
    const QString number = QLatin1Char(' ') + QString::number(k);
    return StoredName::cut(StoredName::fit(prefix), StoredName::MaxLength - number.size()) + number;
}

}  // namespace

QString defaultName(const QString& prefix, const QStringList& names) {
    QStringList stored;
    stored.reserve(names.size());
    for (const QString& name : names)
        stored << StoredName::fit(name);
    const qsizetype n = names.size();
    for (qsizetype k = 1; k <= n; ++k)
        if (!stored.contains(candidate(prefix, k), Qt::CaseSensitive))
            return candidate(prefix, k);
    return candidate(prefix, n + 1);
}
