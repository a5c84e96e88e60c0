// How long the tool takes from process start to the main window's first paint, side by side in
// one run with a bare Qt window of the same size (750 x 545) that this program opens itself.
// Both run under their own X server (Xvfb), behind umockdev-run with the simulated keyboard,
// from a copy of the application folder with private settings. The tool's fixed 1000 ms pause
// for the companion is taken off its time. Judged by
//   (time of the tool - 1000 ms) / time of the bare window     (target at most 1.5)
//
// A start ends when the child says it has painted: the tool with its start-up trace
// (halda.startup), the bare window on its first paint event. Each is then killed.

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr double CompanionPauseMs = 1000;
const QByteArray FirstPaint("first paint");

// The bare window: paints a plain picture, says so once, and waits to be killed.
class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(21, 24, 29));
        if (!painted_) {
            painted_ = true;
            std::fputs("first paint\n", stderr);
            std::fflush(stderr);
        }
    }

private:
    bool painted_ = false;
};

int runBareWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    BareWindow window;
    window.setFixedSize(750, 545);
    window.show();
    return application.exec();
}

// An X server of our own; Xvfb picks a free display and tells its number on a pipe.
class XServer {
public:
    bool start() {
        int fds[2];
        if (::pipe(fds) != 0)
            return false;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            ::dup2(fds[1], 3);
            ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten",
                     "tcp", "-noreset", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char buffer[16] = {};
        ssize_t got = 0;
        while (got < ssize_t(sizeof buffer - 1) && !std::memchr(buffer, '\n', std::size_t(got))) {
            const ssize_t more = ::read(fds[0], buffer + got, sizeof buffer - 1 - std::size_t(got));
            if (more <= 0)
                break;
            got += more;
        }
        ::close(fds[0]);
        bool number = false;
        const int display = QString::fromLatin1(buffer).trimmed().toInt(&number);
        if (pid_ < 0 || !number)
            return false;
        qputenv("DISPLAY", ":" + QByteArray::number(display));
        return true;
    }
    ~XServer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_ = -1;
};

// One start of a program behind umockdev-run; the time until it has painted, in ms, or a
// negative number when it did not paint in time.
double timeToFirstPaint(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    process.start(
        QStringLiteral("umockdev-run"),
        QStringList{"--device", QStringLiteral(HALDA_KEYBOARD_DEVICE), "--", program} + arguments);
    QByteArray errors;
    double elapsed = -1;
    while (process.waitForReadyRead(30000)) {
        errors += process.readAllStandardError();
        if (errors.contains(FirstPaint)) {
            elapsed = double(timer.nsecsElapsed()) / 1e6;
            break;
        }
    }
    // The child of umockdev-run is the program; when it ends, so does umockdev-run.
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(process.processId()));
    if (children.open(QIODevice::ReadOnly))
        for (const QByteArray& pid : children.readAll().trimmed().split(' '))
            if (pid.toInt() > 0)
                ::kill(pid.toInt(), SIGKILL);
    if (!process.waitForFinished(10000))
        process.kill();
    process.waitForFinished(10000);
    return elapsed;
}

QString appDir;
QString self;

void halda(benchmark::State& state) {
    for (auto _ : state) {
        const double ms = timeToFirstPaint(appDir + "halda", {});
        if (ms < 0) {
            state.SkipWithError("halda did not paint");
            return;
        }
        state.SetIterationTime((ms - CompanionPauseMs) / 1000);
    }
}

void bareWindow(benchmark::State& state) {
    for (auto _ : state) {
        const double ms = timeToFirstPaint(self, {"--bare-window"});
        if (ms < 0) {
            state.SkipWithError("the bare window did not paint");
            return;
        }
        state.SetIterationTime(ms / 1000);
    }
}

// Keeps each run's times so the ratio comes from this very run; with repetitions, the medians.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

bool copyApplicationFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(from).relativeFilePath(source);
        // What earlier runs of the tool left there is not part of the program.
        if (relative.startsWith(QLatin1String("Profile")))
            continue;
        const QString target = to + relative;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            return false;
    }
    return QFile::setPermissions(to + "halda", QFile::permissions(from + "/halda"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0)
        return runBareWindow(argc, argv);

    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    self = QCoreApplication::applicationFilePath();

    QTemporaryDir world(QDir::tempPath() + "/halda-bench-XXXXXX");
    appDir = world.path() + "/app/";
    const QString runtime = world.path() + "/runtime";
    QDir().mkpath(world.path() + "/config");
    QDir().mkpath(runtime);
    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(world.path() + "/config"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    qputenv("QT_LOGGING_RULES", "halda.startup.debug=true");
    qunsetenv("QT_QPA_PLATFORM");
    if (!copyApplicationFolder(QStringLiteral(HALDA_APP_DIR), appDir)) {
        std::fprintf(stderr, "cannot copy %s\n", HALDA_APP_DIR);
        return 1;
    }
    XServer xserver;
    if (!xserver.start()) {
        std::fprintf(stderr, "cannot start Xvfb\n");
        return 1;
    }
    // The first start of the tool stores its defaults and makes its first profile; every
    // later one, as the measured ones, reads them. Both programs are in the page cache then.
    if (timeToFirstPaint(appDir + "halda", {}) < 0 ||
        timeToFirstPaint(self, {"--bare-window"}) < 0) {
        std::fprintf(stderr, "a program did not paint\n");
        return 1;
    }

    benchmark::RegisterBenchmark("HaldaToFirstPaint", halda)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BareQtWindowToFirstPaint", bareWindow)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double ours = reporter.times["HaldaToFirstPaint"];
    const double bare = reporter.times["BareQtWindowToFirstPaint"];
    if (bare > 0)
        std::printf("\n(halda - %.0f ms) / bare Qt window: %.2f  (target at most 1.5)\n",
                    CompanionPauseMs, ours / bare);
    return 0;
}
