// How long one lookup pass takes: through the engine with fields that cost nothing, against
// the floor of a bare comparison loop over the same headwords, and through the real main
// window. Also how many heap allocations a pass makes. Run with `make bench`.

#include "core/glossary.h"
#include "core/lookup_pass.h"
#include "support/plain_fields.h"
#include "ui/platform/application.h"
#include "ui/tavrin.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTimerEvent>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>

namespace {

std::atomic<long> g_allocations{0};

} // namespace

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

void enginePass(benchmark::State& state, std::u16string input, std::u16string output)
{
    const qorin::GlossaryTable table = qorin::builtInGlossary();
    PlainFields fields(std::move(input), std::move(output));
    qorin::runLookupPass(fields, table); // warm up: the output settles
    const long before = g_allocations;
    for (auto _ : state)
        qorin::runLookupPass(fields, table);
    state.counters["allocs/pass"] = benchmark::Counter(static_cast<double>(g_allocations - before) /
                                                       static_cast<double>(state.iterations()));
}

// The same headwords compared with the same equality rule, and nothing else.
void floorLoop(benchmark::State& state)
{
    const qorin::GlossaryTable table = qorin::builtInGlossary();
    const std::u16string input = u"szambo";
    for (auto _ : state) {
        int matches = 0;
        for (const qorin::GlossaryChunk& chunk : table) {
            for (const qorin::GlossaryEntry& entry : chunk)
                matches += entry.headword == input;
        }
        benchmark::DoNotOptimize(matches);
    }
}

// Counts the paints and layout requests that reach the output field.
class OutputWatcher : public QObject
{
    Q_OBJECT

public:
    long paints = 0;
    long layouts = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        layouts += event->type() == QEvent::LayoutRequest;
        return false;
    }
};

// One tick of the real main window's timer: the same path a tick takes in the program.
void windowPass(benchmark::State& state, bool changeInput)
{
    qorin::ui::Tavrin tavrin;
    tavrin.load();
    tavrin.show();
    auto* A = tavrin.findChild<QLineEdit*>("A");
    auto* B = tavrin.findChild<QPlainTextEdit*>("B");
    auto* timer = tavrin.findChild<QTimer*>("Timer1");
    // The timer keeps running; each tick here is a timer event sent to it directly. Its own
    // ticks, five a second, are too few to count.
    OutputWatcher watcher;
    B->installEventFilter(&watcher);
    B->viewport()->installEventFilter(&watcher);
    A->setText(QStringLiteral("szambo"));

    auto tick = [&] {
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
        QCoreApplication::processEvents(); // let any repaint or relayout happen
    };
    tick();
    watcher.paints = watcher.layouts = 0;
    bool flip = false;
    for (auto _ : state) {
        if (changeInput)
            A->setText((flip = !flip) ? QStringLiteral("kot") : QStringLiteral("szambo"));
        tick();
    }
    state.counters["B paints/pass"] = benchmark::Counter(static_cast<double>(watcher.paints) /
                                                         static_cast<double>(state.iterations()));
    state.counters["B relayouts/pass"] = benchmark::Counter(
        static_cast<double>(watcher.layouts) / static_cast<double>(state.iterations()));
}

// Keeps each run's time per iteration, to print the ratios at the end.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> nanoseconds;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration)
                nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK_CAPTURE(enginePass, hit_last_row, u"szambo", u"");
BENCHMARK_CAPTURE(enginePass, miss, u"mamalyga", u"");
BENCHMARK_CAPTURE(enginePass, empty_input, u"", u"");
BENCHMARK_CAPTURE(enginePass, output_equals_input, u"cero", u"cero");
BENCHMARK(floorLoop);
BENCHMARK_CAPTURE(windowPass, input_unchanged, false);
BENCHMARK_CAPTURE(windowPass, input_changing, true);

int main(int argc, char** argv)
{
    qorin::ui::Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double floor = reporter.nanoseconds["floorLoop"];
    if (floor > 0) {
        std::printf("\nfull pass through the engine against the floor (%.0f ns):\n", floor);
        for (const char* name : {"enginePass/hit_last_row", "enginePass/miss"}) {
            const double ns = reporter.nanoseconds[name];
            std::printf("  %-26s %8.0f ns  %.2f x floor\n", name, ns, ns / floor);
        }
    }
    benchmark::Shutdown();
    return 0;
}

#include "lookup_bench.moc"
