#pragma once

#include <QStringView>
#include <span>

// Encoding names as they appear in XML declarations and HTML meta elements, each with the
// Windows code page that reads it. Names are stored in lower case.
class CharsetTable {
public:
    struct Entry {
        const char* name;
        int codePage;
    };

    static constexpr int BucketCount = 150;

    // 0 for an empty name, 65005 for any name starting with "UTF-32" (exactly in that case),
    // -1 for a name of 100 units or more and for a name the table does not hold.
    static int codePage(QStringView name);

    static std::span<const Entry> entries();
};
