#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

namespace {

// Passes everything to the console and remembers the time per iteration of each benchmark.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    void PrintRatios() const {
        for (const auto& [name, ours] : seconds_) {
            const std::size_t at = name.find("_Ours");
            if (at == std::string::npos)
                continue;
            const std::string stem = name.substr(0, at);
            const std::string rest = name.substr(at + 5);
            for (const auto& [other, reference] : seconds_)
                if (other.rfind(stem + "_Reference", 0) == 0 && other.ends_with(rest) && reference > 0)
                    // Small ratios keep their leading digits (0.0043, not 0.00).
                    std::printf(ours / reference < 0.1 ? "ratio %-40s / %-45s = %6.4f\n"
                                                       : "ratio %-40s / %-45s = %6.2f\n",
                                name.c_str(), other.c_str(), ours / reference);
        }
    }

private:
    std::map<std::string, double> seconds_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
