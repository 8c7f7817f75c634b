// Feeds arbitrary bytes as a calibration file (".cal") to the RLC panel's Load Calibration, with
// the checks that follow reading it (the open- and closed-circuit sets, their frequency range,
// channel pair and input range), then measures a component against whatever was loaded: the
// fixture's parasitics are removed with the file's sets wherever their frequencies lie.

#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../rlc/FakeMeasurement.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "rlc/workflow/MeasurementWorkflow.h"
#include "ScratchFile.h"

namespace {

const std::string& CalibrationPath()
{
    static const std::string path = MakeScratchFile("/tmp/talvern-fuzz-calXXXXXX");
    return path;
}

bool WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = CalibrationPath();
    if (!WriteFile(path, data, size))
        std::abort();
    rlctest::FakeWorkspace workspace;
    rlctest::FakeAnalyzer analyzer{workspace};
    ScriptedPrompter prompter;
    MeasurementSetup setup;
    MeasurementWorkflow workflow{setup, analyzer, workspace, prompter};
    prompter.fileAnswers = {path};
    if (!workflow.LoadCalibration())
        return 0;
    if (!workflow.IsCalibrated())
        __builtin_trap();
    // A component measured over the decades the analyzer covers, the first ones shared with a
    // sound calibration.
    analyzer.frequencies = {10, 100, 1e3, 1e4, 1e5, 1e6};
    analyzer.fixture.state = rlctest::Fixture::Component;
    analyzer.fixture.component = [](double w) { return std::complex<double>(10, w * 1e-6); };
    prompter.textAnswers = {"X"};
    workflow.OnTestComponent();
    analyzer.FinishSweep();
    return 0;
}
