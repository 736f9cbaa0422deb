// The benchmarks run on an interface thread: an offscreen application that lives on the stack
// until the last benchmark has ended, with the Qt message service as the programs have it.
#include "platform/gui/QtMessageService.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The arguments are the benchmark library's, never Qt's.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
