// The main window's outline from its shipped skin: RegionFromBitmap side by side with Qt's own
// path (a mask from the key colour, a bitmap, a region from the bitmap) in one run. Judged by
//   time of RegionFromBitmap / time of Qt's path          (target at most 1.0)
//   rectangles of RegionFromBitmap / rectangles of Qt's   (target at most 1.0: the window
//                                                          system pays for each rectangle)
// Both must cover the same pixels; the program fails otherwise.

#include "controls/SkinImages.h"
#include "controls/WindowRegion.h"

#include <benchmark/benchmark.h>
#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRegion>

#include <cstdio>
#include <map>
#include <string>

namespace {

const QString skinFile = QStringLiteral(HALDA_SKIN_DIR "/Halda_Normal.bmp");

QRegion qtRegion(const QPixmap& skin) {
    const QImage mask = skin.toImage().createMaskFromColor(SkinKeyColour, Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(mask));
}

void regionFromBitmap(benchmark::State& state, const QPixmap& skin) {
    for (auto _ : state)
        benchmark::DoNotOptimize(RegionFromBitmap(skin));
}

void qtPath(benchmark::State& state, const QPixmap& skin) {
    for (auto _ : state)
        benchmark::DoNotOptimize(qtRegion(skin));
}

// Keeps each run's times so the ratio comes from this very run; with repetitions, the medians.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                     run.GetAdjustedCPUTime()};
        ConsoleReporter::ReportRuns(runs);
    }
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> times;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    QPixmap skin;
    if (LoadPictureFile(skinFile, skin).isEmpty()) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(skinFile));
        return 1;
    }
    const QRegion ours = RegionFromBitmap(skin).value_or(QRegion());
    const QRegion theirs = qtRegion(skin);
    if (!ours.xored(theirs).isEmpty()) {
        std::fprintf(stderr, "the two regions cover different pixels\n");
        return 1;
    }

    benchmark::RegisterBenchmark("RegionFromBitmap", regionFromBitmap, skin)->UseRealTime();
    benchmark::RegisterBenchmark("QtMaskBitmapRegion", qtPath, skin)->UseRealTime();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const auto a = reporter.times.find("RegionFromBitmap");
    const auto b = reporter.times.find("QtMaskBitmapRegion");
    std::printf("\n%s, %d x %d\n", qPrintable(skinFile), skin.width(), skin.height());
    std::printf("rectangles: RegionFromBitmap %d, Qt's path %d\n", ours.rectCount(),
                theirs.rectCount());
    if (a != reporter.times.end() && b != reporter.times.end())
        std::printf(
            "time ratio RegionFromBitmap / Qt's path = %.2f real, %.2f CPU "
            "(target at most 1.0)\n",
            a->second.real / b->second.real, a->second.cpu / b->second.cpu);
    benchmark::Shutdown();
    return 0;
}
