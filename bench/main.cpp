#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    // Painting, image plug-ins and the browser widgets want an application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
