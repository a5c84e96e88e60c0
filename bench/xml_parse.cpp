// The XML reader side by side with pugixml on the same generated documents: a 20 MB file
// shaped like the key layout (elements with attributes, text, comments and references) and
// one nested a million levels deep. Judged by two ratios, printed at the end in real time
// and in CPU time:
//   ParseDocument              / pugixml load_buffer_inplace   (target at most 2.0)
//   LoadFile + ParseDocument   / pugixml load_file             (target at most 1.0)
//
// Then two hostile shapes, each at 1 MB and at 4 MB, to show that the parse stays linear:
//   unmatched  a deep stack of open tags against end tags that match none of them
//   longname   one open tag with a name of half the document against many short end tags
// judged by ParseDocument at 4 MB / at 1 MB (target at most 5). pugixml stops at the first
// mismatched end tag, so it is compared on layout documents of the same two sizes instead.

#include "resources/XmlDocument.h"

#include <benchmark/benchmark.h>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

QByteArray layoutDocument(qsizetype size) {
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<layout>\n";
    for (int i = 0; xml.size() < size; ++i) {
        const QByteArray n = QByteArray::number(i);
        xml += "  <key name=\"Key " + n +
               " &amp; more\" vkcode=\"0x41\" buttontip=\"Press &lt;A&gt; &#x263A;\" "
               "CRect=\"10,20,58,68\" kstatus=\"1\">Text of key " +
               n + " &amp; &#65;<!-- comment " + n + " --></key>\n";
    }
    return xml + "</layout>\n";
}

QByteArray deepDocument(int depth) {
    QByteArray xml;
    xml.reserve(depth * 7);
    for (int i = 0; i < depth; ++i)
        xml += "<a>";
    for (int i = 0; i < depth; ++i)
        xml += "</a>";
    return xml;
}

// Half the bytes open "<a>" after "<a>", the other half are end tags that close none of them.
QByteArray unmatchedEndTags(qsizetype size) {
    QByteArray xml;
    xml.reserve(size + 8);
    while (xml.size() < size / 2)
        xml += "<a>";
    while (xml.size() < size)
        xml += "</b>";
    return xml;
}

// One start tag whose name is half the document, then end tags of another name.
QByteArray longTagName(qsizetype size) {
    QByteArray xml = "<" + QByteArray(size / 2, 'n') + ">";
    xml.reserve(size + 8);
    while (xml.size() < size)
        xml += "</b>";
    return xml;
}

// What runs on an input: the parse always; pugixml's parse and the file loads when the input
// is one pugixml can be compared on.
enum class Runs { ParseOnly, ParseAndPugi, All };

struct Input {
    std::string name;
    QByteArray bytes;
    Runs runs;
    QString path;
};

constexpr qsizetype kSmall = 1000 * 1000;
constexpr qsizetype kLarge = 4 * kSmall;

std::vector<Input>& inputs() {
    static QTemporaryDir dir;
    static std::vector<Input> all = [] {
        std::vector<Input> list{
            {"layout", layoutDocument(20 * 1000 * 1000), Runs::All, {}},
            {"deep", deepDocument(1000000), Runs::All, {}},
            {"layout-1MB", layoutDocument(kSmall), Runs::ParseAndPugi, {}},
            {"layout-4MB", layoutDocument(kLarge), Runs::ParseAndPugi, {}},
            {"unmatched-1MB", unmatchedEndTags(kSmall), Runs::ParseOnly, {}},
            {"unmatched-4MB", unmatchedEndTags(kLarge), Runs::ParseOnly, {}},
            {"longname-1MB", longTagName(kSmall), Runs::ParseOnly, {}},
            {"longname-4MB", longTagName(kLarge), Runs::ParseOnly, {}},
        };
        for (Input& input : list) {
            input.path = dir.path() + QStringLiteral("/") + QString::fromStdString(input.name) +
                         QStringLiteral(".xml");
            QFile file(input.path);
            if (!file.open(QIODevice::WriteOnly) || file.write(input.bytes) != input.bytes.size())
                std::fprintf(stderr, "cannot write %s\n", qPrintable(input.path));
        }
        return list;
    }();
    return all;
}

void parseDocument(benchmark::State& state, const Input& input) {
    XmlDocument document;
    document.setText(QString::fromUtf8(input.bytes));
    for (auto _ : state)
        benchmark::DoNotOptimize(document.ParseDocument());
    state.SetBytesProcessed(state.iterations() * input.bytes.size());
}

void pugiInPlace(benchmark::State& state, const Input& input) {
    std::vector<char> buffer(size_t(input.bytes.size()));
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(input.bytes.begin(), input.bytes.end(), buffer.begin());
        pugi::xml_document document;
        state.ResumeTiming();
        benchmark::DoNotOptimize(document.load_buffer_inplace(buffer.data(), buffer.size()));
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * input.bytes.size());
}

void loadAndParse(benchmark::State& state, const Input& input) {
    for (auto _ : state) {
        XmlDocument document;
        benchmark::DoNotOptimize(document.LoadFile(input.path) && document.ParseDocument());
    }
    state.SetBytesProcessed(state.iterations() * input.bytes.size());
}

void pugiLoadFile(benchmark::State& state, const Input& input) {
    const QByteArray path = QFile::encodeName(input.path);
    for (auto _ : state) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_file(path.constData()));
    }
    state.SetBytesProcessed(state.iterations() * input.bytes.size());
}

// Keeps each run's real and CPU time per iteration so the ratios come from this very run;
// with --benchmark_repetitions, the medians of the repetitions. On a busy machine the CPU
// times are the steadier of the two.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real;
        double cpu;
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !times.count(run.run_name.str())))
                times[run.run_name.str()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (const Input& input : inputs()) {
        const std::string suffix = "/" + input.name;
        benchmark::RegisterBenchmark(("ParseDocument" + suffix).c_str(), parseDocument, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        if (input.runs == Runs::ParseOnly)
            continue;
        benchmark::RegisterBenchmark(("PugiInPlace" + suffix).c_str(), pugiInPlace, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        if (input.runs == Runs::ParseAndPugi)
            continue;
        benchmark::RegisterBenchmark(("LoadAndParse" + suffix).c_str(), loadAndParse, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("PugiLoadFile" + suffix).c_str(), pugiLoadFile, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // Runs left out by a --benchmark_filter give no ratio.
    auto ratio = [&](const std::string& label, const std::string& a, const std::string& b) {
        const auto x = reporter.times.find(a + "/real_time");
        const auto y = reporter.times.find(b + "/real_time");
        if (x != reporter.times.end() && y != reporter.times.end())
            std::printf("  %-45s %6.2f %6.2f\n", label.c_str(), x->second.real / y->second.real,
                        x->second.cpu / y->second.cpu);
    };
    std::printf("\nratios (lower is better)%29s %6s %6s\n", "", "real", "CPU");
    for (const Input& input : inputs()) {
        const std::string& name = input.name;
        if (input.runs == Runs::ParseOnly)
            continue;
        ratio(name + " ParseDocument / PugiInPlace", "ParseDocument/" + name,
              "PugiInPlace/" + name);
        if (input.runs == Runs::All)
            ratio(name + " LoadAndParse / PugiLoadFile", "LoadAndParse/" + name,
                  "PugiLoadFile/" + name);
    }
    for (const std::string shape : {"layout", "unmatched", "longname"})
        ratio(shape + " ParseDocument 4MB / 1MB", "ParseDocument/" + shape + "-4MB",
              "ParseDocument/" + shape + "-1MB");
    benchmark::Shutdown();
    return 0;
}
