// The XML reader side by side with pugixml on the same generated documents: a 20 MB file
// shaped like the key layout (elements with attributes, text, comments and references) and
// one nested a million levels deep. Judged by two ratios, printed at the end:
//   ParseDocument              / pugixml load_buffer_inplace   (target at most 2.0)
//   LoadFile + ParseDocument   / pugixml load_file             (target at most 1.0)

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

struct Input {
    std::string name;
    QByteArray bytes;
    QString path;
};

std::vector<Input>& inputs() {
    static QTemporaryDir dir;
    static std::vector<Input> all = [] {
        std::vector<Input> list{{"layout", layoutDocument(20 * 1000 * 1000), {}},
                                {"deep", deepDocument(1000000), {}}};
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

// Keeps each run's real time per iteration so the ratios come from this very run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (const Input& input : inputs()) {
        const std::string suffix = "/" + input.name;
        benchmark::RegisterBenchmark(("ParseDocument" + suffix).c_str(), parseDocument, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("PugiInPlace" + suffix).c_str(), pugiInPlace, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("LoadAndParse" + suffix).c_str(), loadAndParse, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("PugiLoadFile" + suffix).c_str(), pugiLoadFile, input)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nratios (lower is better)\n");
    for (const Input& input : inputs()) {
        auto ratio = [&](const std::string& ours, const std::string& theirs) {
            const auto a = reporter.seconds.find(ours + "/" + input.name + "/real_time");
            const auto b = reporter.seconds.find(theirs + "/" + input.name + "/real_time");
            if (a == reporter.seconds.end() || b == reporter.seconds.end())
                return;
            std::printf("  %-8s %-13s / %-12s = %.2f\n", input.name.c_str(), ours.c_str(),
                        theirs.c_str(), a->second / b->second);
        };
        ratio("ParseDocument", "PugiInPlace");
        ratio("LoadAndParse", "PugiLoadFile");
    }
    benchmark::Shutdown();
    return 0;
}
