#include "benchmarks/ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

namespace bench {

namespace {

struct Ratio {
    std::string measured, baseline, goal;
};

std::vector<Ratio>& Ratios() {
    static std::vector<Ratio> ratios;
    return ratios;
}

struct Times {
    double real = 0, cpu = 0;  // seconds per iteration
};

// The console table as usual, and the mean real and CPU time per iteration of every run kept.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds_[run.benchmark_name()] = {run.real_accumulated_time / static_cast<double>(run.iterations),
                                                  run.cpu_accumulated_time / static_cast<double>(run.iterations)};
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, Times>& Seconds() const { return seconds_; }

private:
    std::map<std::string, Times> seconds_;
};

}  // namespace

void AddRatio(const std::string& measured, const std::string& baseline, const std::string& goal) {
    Ratios().push_back({measured, baseline, goal});
}

int RunWithRatios(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nRatios (time of the measured run / time of its baseline, same run; real time, then CPU time):\n");
    for (const Ratio& ratio : Ratios()) {
        const auto measured = reporter.Seconds().find(ratio.measured);
        const auto baseline = reporter.Seconds().find(ratio.baseline);
        if (measured == reporter.Seconds().end() || baseline == reporter.Seconds().end()) continue;
        if (baseline->second.real <= 0 || baseline->second.cpu <= 0) continue;
        std::printf("  %-34s / %-36s = %6.2f x real, %6.2f x CPU   (goal: %s)\n", ratio.measured.c_str(),
                    ratio.baseline.c_str(), measured->second.real / baseline->second.real,
                    measured->second.cpu / baseline->second.cpu, ratio.goal.c_str());
    }
    return 0;
}

}  // namespace bench
