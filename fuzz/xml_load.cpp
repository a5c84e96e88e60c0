// Arbitrary bytes as an XML file: load, parse, then walk every element reading attributes
// and text. The same bytes are also parsed directly as UTF-16 units, so the scanner meets
// lone surrogates and every other unit a decoder would never produce.

#include "resources/XmlDocument.h"

#include <unistd.h>
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

namespace {

const QString& scratchPath() {
    static const QString path = [] {
        char name[] = "/tmp/fuzz_xml_load_XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0)
            std::abort();
        close(fd);
        return QString::fromLocal8Bit(name);
    }();
    return path;
}

// Every element is visited through the cursor alone: a path of sibling counts from the
// root is replayed with NextElement, NextChildElement and EnterElement. The budget keeps
// pathological shapes (very wide and very deep) from turning into a hang.
void walk(XmlDocument& document) {
    std::deque<std::vector<int>> paths;
    // One pass over the top level: a broken document can leave every element there.
    document.Rewind();
    for (int i = 0; document.NextElement(); ++i)
        paths.push_back({i});
    long budget = 200000;
    while (!paths.empty() && budget > 0) {
        const std::vector<int> path = paths.front();
        paths.pop_front();
        document.Rewind();
        bool found = true;
        for (int k = 0; k <= path[0] && found; ++k, --budget)
            found = document.NextElement();
        for (size_t level = 1; level < path.size() && found; ++level) {
            for (int k = 0; k <= path[level] && found; ++k, --budget)
                found = document.NextChildElement();
            found = found && document.EnterElement();
        }
        if (!found)
            std::abort();  // a path that was walked once must be walkable again
        for (int child = 0; document.NextChildElement() && budget > 0; ++child, --budget) {
            const QString a = document.ChildAttribute(u"a");
            const QString text = document.ChildText();
            if (a.size() > document.text().size() || text.size() > document.text().size())
                std::abort();
            std::vector<int> next = path;
            next.push_back(child);
            paths.push_back(std::move(next));
        }
        document.ChildAttribute(u"name");
        document.NextChildElement(u"key");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FILE* file = std::fopen(qPrintable(scratchPath()), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    // The documents are reused from input to input, as a reload would reuse them; that also
    // keeps the index blocks allocated, which makes the fuzzer much faster.
    static XmlDocument document;
    if (document.LoadFile(scratchPath())) {
        document.ParseDocument();
        walk(document);
    }

    static XmlDocument units;
    units.setText(QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2)));
    units.ParseDocument();
    walk(units);
    return 0;
}
