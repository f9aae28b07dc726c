#include "posting_program.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstring>

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], kPostingProgramOption) == 0) {
        QCoreApplication app(argc, argv);
        return RunPostingProgram(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
