// Figures as ratios against a baseline measured in the same run, since
// absolute times on a shared machine are noisy.
//
// Each benchmark executable registers its benchmarks, names pairs of
// (measured, baseline) with AddRatio, and calls RunWithRatios from main: the
// usual console table, then one line per pair with the time ratio.
#pragma once

#include <string>

namespace bench {

// After the run, prints "measured / baseline = R x (goal: GOAL)". Names are
// the benchmarks' full names as the console table shows them.
void AddRatio(const std::string& measured, const std::string& baseline, const std::string& goal);

// Runs the benchmarks selected on the command line and prints the ratios.
int RunWithRatios(int argc, char** argv);

}  // namespace bench
