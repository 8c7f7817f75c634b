#include "rlc/workflow/MeasurementWorkflow.h"

#include <algorithm>
#include <memory>

#include "data/ApplicationData.h"
#include "data/DataSetMath.h"
#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "rlc/workflow/ChannelPairs.h"

namespace {

constexpr char kCreateDocumentFirst[] = "Please create a document first";
constexpr char kCalibrateFirst[] = "Please calibrate first!";
constexpr char kCalibrationFilter[] = "Calibration Files (*.cal)|*.cal||";
constexpr char kLoadFilter[] = "Calibration Files (*.cal)|*.cal|Talvern Files (*.tal)|*.tal||";

int FirstWithRole(const CTalDocument& document, int role)
{
    for (int i = 0; i < document.GetDataSetCount(); ++i)
        if (document.GetCalibrationRole(i) == role)
            return i;
    return -1;
}

// A stored list position outside 0..2 (a damaged file) reads as the first entry.
int BoundedPosition(int position)
{
    return position >= 0 && position < 3 ? position : 0;
}

}  // namespace

MeasurementWorkflow::MeasurementWorkflow(const MeasurementSetup& setup, MeasurementAnalyzer& analyzer,
                                         MeasurementWorkspace& workspace, Prompter& prompter)
    : m_setup(setup), m_analyzer(analyzer), m_workspace(workspace), m_prompter(prompter)
{
}

FrequencyCheck MeasurementWorkflow::StartPage(double startField, double stopField, bool singlePoint)
{
    ResetCalibration();
    const FrequencyCheck check = ValidateFrequencies(startField, stopField, singlePoint);
    const ApplicationData& app = appData();
    const int pair = m_setup.channelCount > 2
                         ? ChannelPairForNodes(app.defaultInputNode, app.defaultOutputNode)
                         : 0;
    m_inputRange = 0;
    ApplyChannelPair(pair);
    return check;
}

bool MeasurementWorkflow::IsCalibrated()
{
    const CTalDocument* doc = m_workspace.ActiveDocument();
    return doc && doc->GetDataSet(m_openIndex) && doc->GetDataSet(m_closedIndex) &&
           doc->GetCalibrationRole(m_openIndex) == ROLE_OPEN_CIRCUIT &&
           doc->GetCalibrationRole(m_closedIndex) == ROLE_CLOSED_CIRCUIT;
}

void MeasurementWorkflow::ResetCalibration()
{
    if (CTalDocument* doc = m_workspace.ActiveDocument()) {
        const auto deleteIf = [&](int& index, int role) {
            if (doc->GetDataSet(index) && doc->GetCalibrationRole(index) == role)
                DeleteSet(*doc, index);
        };
        // The higher index first, so that the other one still names its set.
        if (m_closedIndex > m_openIndex) {
            deleteIf(m_closedIndex, ROLE_CLOSED_CIRCUIT);
            deleteIf(m_openIndex, ROLE_OPEN_CIRCUIT);
        } else {
            deleteIf(m_openIndex, ROLE_OPEN_CIRCUIT);
            deleteIf(m_closedIndex, ROLE_CLOSED_CIRCUIT);
        }
    }
    m_openIndex = -1;
    m_closedIndex = -1;
    EnableCalibratedButtons(false);
}

void MeasurementWorkflow::OnCalibrate()
{
    m_calibrating = true;
    m_measuring = false;
    if (!m_workspace.HasActiveDisplay()) {
        Error(kCreateDocumentFirst);
        return;
    }
    ResetCalibration();
    if (Is1800Series(m_setup.analyzerType))
        m_analyzer.SelectInputTypeChannel1(1);
    m_calibrationStep = 1;
    m_savedMaxAcVolts = m_analyzer.GetMaxAcVoltsOut();
    m_peakVoltageEnabled = false;
    m_prompter.Message("Please open the circuit, then press 'OK'", "");
    StartSweep();
}

void MeasurementWorkflow::OnTestComponent()
{
    m_calibrating = false;
    m_measuring = true;
    if (!m_workspace.HasActiveDisplay()) {
        Error(kCreateDocumentFirst);
        return;
    }
    if (!IsCalibrated()) {
        Error(kCalibrateFirst);
        return;
    }
    if (Is1800Series(m_setup.analyzerType))
        m_analyzer.SelectInputTypeChannel1(1);
    m_prompter.Message("Please insert the component to measure, then press 'OK'", "");
    StartSweep();
}

void MeasurementWorkflow::StartSweep()
{
    const CTalDocument* doc = m_workspace.ActiveDocument();
    m_sweepDocument = doc;
    m_sweepFirstNumber = doc ? doc->GetNextNumber() : 0;
    m_analyzer.StartCallbackSweep(*this);
}

bool MeasurementWorkflow::IsNewSweepSet(CTalDocument& document, int index) const
{
    // Only a set the sweep created may be renamed or deleted: the document must be the one the
    // sweep started in and the set newer than the sweep's start.
    return &document == m_sweepDocument && document.GetDataSet(index) &&
           document.GetDataSetNumber(index) >= m_sweepFirstNumber;
}

void MeasurementWorkflow::OnSweepComplete(int code)
{
    if (!m_workspace.HasActiveDisplay())
        return;
    if (code == 1 || code == 2) {
        Error(code == 1 ? "GPIB error" : "Analyzer error");
        return;
    }
    if (code != 0)
        return;
    m_analyzer.SetFrequencyDisplay(m_startFrequency);
    m_analyzer.SetAcVoltsOut(m_acVoltage, m_savedMaxAcVolts);
    CTalDocument* doc = m_workspace.ActiveDocument();
    if (!doc)
        return;
    const int index = doc->GetLastAddedIndex();
    if (!IsNewSweepSet(*doc, index))
        return;
    if (m_calibrating && m_calibrationStep == 1)
        CompleteOpenCircuit(*doc, index);
    else if (m_calibrating && m_calibrationStep == 2)
        CompleteClosedCircuit(*doc, index);
    else if (m_measuring)
        CompleteMeasurement(*doc, index);
}

void MeasurementWorkflow::CompleteOpenCircuit(CTalDocument& doc, int index)
{
    m_openIndex = index;
    const int answer = m_prompter.ThreeButtons(
        "Open circuit sweep complete. Would you like to continue with the calibration process, "
        "redo the sweep, or cancel?",
        "", "Continue", "Redo", "Cancel");
    if (answer == 1) {
        doc.SetDataSetName(index, "Open circuit");
        doc.SetCalibrationRole(index, ROLE_OPEN_CIRCUIT);
        m_calibrationStep = 2;
        m_prompter.Message("Please close the circuit, then press 'OK'", "");
        StartSweep();
    } else if (answer == 2) {
        DeleteSet(doc, m_openIndex);
        StartSweep();
    } else {
        DeleteSet(doc, m_openIndex);
        m_calibrating = false;
    }
}

void MeasurementWorkflow::CompleteClosedCircuit(CTalDocument& doc, int index)
{
    m_closedIndex = index;
    const int answer = m_prompter.ThreeButtons(
        "Closed circuit sweep complete. Would you like to keep this sweep, redo it, or cancel?", "",
        "Keep it", "Redo", "Cancel");
    if (answer == 1) {
        doc.SetDataSetName(index, "Closed circuit");
        doc.SetCalibrationRole(index, ROLE_CLOSED_CIRCUIT);
        m_prompter.Message("Calibration complete", "", PromptButtons::Ok, PromptIcon::Information);
        EnableCalibratedButtons(true);
        m_calibrating = false;
    } else if (answer == 2) {
        DeleteSet(doc, m_closedIndex);
        StartSweep();
    } else {
        // The closed-circuit set was added after the open-circuit one: it goes first.
        DeleteSet(doc, m_closedIndex);
        DeleteSet(doc, m_openIndex);
        m_calibrating = false;
    }
}

void MeasurementWorkflow::CompleteMeasurement(CTalDocument& doc, int index)
{
    m_calibrating = false;
    m_measuring = false;
    m_measuredIndex = index;
    // A cancelled name prompt keeps the measurement, without a name of its own.
    const std::string name =
        m_prompter.TextInput("Measurement complete.\nPlease type a name for this sweep:").value_or("");
    doc.SetDataSetName(index, name + "(with parasitics)");
    doc.SetCalibrationRole(index, ROLE_WITH_PARASITICS);
    // The calibration sets may have been deleted or re-roled while the sweep ran.
    if (!IsCalibrated()) {
        doc.SetModifiedFlag();
        doc.UpdateAllViews(HINT_ALL);
        return;
    }
    const int series = doc.OnViewMath(index, 0, m_closedIndex, 0, MATH_SUBTRACT);
    doc.SetCalibrationRole(series, ROLE_INTERMEDIATE);
    const int result = doc.OnViewMath(series, 0, m_openIndex, 0, MATH_SUBTRACT_PARALLEL);
    doc.SetDataSetName(result, name + "(w/o parasitics)");
    doc.SetCalibrationRole(result, ROLE_WITHOUT_PARASITICS);
    for (int hidden : {index, series, m_closedIndex, m_openIndex})
        m_workspace.HideDataSet(hidden);
    doc.SetModifiedFlag();
    doc.UpdateAllViews(HINT_ALL);
}

int MeasurementWorkflow::ApplyChannelPair(int pair)
{
    pair = BoundedPosition(pair);
    if (!ChannelPairAvailable(pair, m_setup.channelCount)) {
        if (m_setup.channelCount == 3)
            m_prompter.Message("Not allowed on 3 channel analyzer", "RLC", PromptButtons::Ok,
                               PromptIcon::Warning);
        pair = 0;
    }
    m_channelPair = pair;
    ApplicationData& app = appData();
    app.defaultInputNode = ChannelPairInfo(pair).inputNode;
    app.defaultOutputNode = ChannelPairInfo(pair).outputNode;
    app.channelPair = pair;
    m_analyzer.SelectChannelRatio(pair);
    m_peakVoltageEnabled = true;
    if (m_calibrationLoaded) {
        EnableCalibratedButtons(true);
        m_calibrationLoaded = false;
        return pair;
    }
    // A new pair starts from an empty document. A document with unsaved changes is left open
    // beside it rather than discarded without a prompt.
    const CTalDocument* active = m_workspace.ActiveDocument();
    if (active && !(active->IsModified() && active->GetDataSetCount() > 0))
        m_workspace.CloseActiveDocument();
    m_workspace.OpenImpedanceDocument();
    m_openIndex = m_closedIndex = m_measuredIndex = -1;
    EnableCalibratedButtons(false);
    ApplyInputRange();
    return pair;
}

void MeasurementWorkflow::ApplyInputRange()
{
    if (Uses2600SeriesDialog(m_setup.analyzerType))
        m_analyzer.SelectInputRange(BoundedPosition(m_inputRange));
}

bool MeasurementWorkflow::SaveCalibration()
{
    if (!IsCalibrated()) {
        Error(kCalibrateFirst);
        return false;
    }
    const CTalDocument& active = *m_workspace.ActiveDocument();
    CTalDocument calibration;
    calibration.OnNewDocument();
    calibration.m_title = "Calibration";
    calibration.m_fileDisplayKind = DisplayKind::Imp;
    calibration.AddDataSet(std::make_unique<CDataSet>(*active.GetDataSet(m_openIndex)));
    calibration.AddDataSet(std::make_unique<CDataSet>(*active.GetDataSet(m_closedIndex)));
    const auto path = m_prompter.SaveFileName({"", kCalibrationFilter, "cal", "Calibration"});
    if (!path || path->empty())
        return false;
    std::string error;
    if (!calibration.SaveToFile(*path, error)) {
        m_prompter.Message(error, "", PromptButtons::Ok, PromptIcon::Error);
        return false;
    }
    return true;
}

bool MeasurementWorkflow::LoadCalibration()
{
    const auto path = m_prompter.OpenFileName({"", kLoadFilter, "cal", ""});
    if (!path || path->empty())
        return false;
    CTalDocument file;
    std::string error;
    if (!file.LoadFromFile(*path, error)) {
        m_prompter.Message(error, "", PromptButtons::Ok, PromptIcon::Error);
        return false;
    }
    CTalDocument* doc = m_workspace.OpenImpedanceDocument();
    m_openIndex = m_closedIndex = m_measuredIndex = -1;
    EnableCalibratedButtons(false);
    const int open = FirstWithRole(file, ROLE_OPEN_CIRCUIT);
    const int closed = FirstWithRole(file, ROLE_CLOSED_CIRCUIT);
    if (open < 0 || closed < 0 || !doc) {
        Error("Error reading the file");
        return false;
    }
    const CDataSet& openSet = *file.GetDataSet(open);
    const CDataSet& closedSet = *file.GetDataSet(closed);
    const FrequencyLimits& limits = m_setup.limits;
    if (std::min(openSet.GetMinFrequency(), closedSet.GetMinFrequency()) < limits.lowest ||
        std::max(openSet.GetMaxFrequency(), closedSet.GetMaxFrequency()) > limits.highest) {
        Error("The frequency range in this file is incompatible with the analyzer");
        return false;
    }
    m_openIndex = doc->AddDataSet(std::make_unique<CDataSet>(openSet));
    m_closedIndex = doc->AddDataSet(std::make_unique<CDataSet>(closedSet));
    m_savedMaxAcVolts = m_analyzer.GetMaxAcVoltsOut();
    EnableCalibratedButtons(true);

    m_calibrationLoaded = true;
    ApplicationData& app = appData();
    app.channelPair = BoundedPosition(openSet.m_channelPair);
    ApplyChannelPair(app.channelPair);
    app.inputRange = BoundedPosition(openSet.m_inputRange);
    m_inputRange = app.inputRange;
    m_peakVoltageEnabled = false;
    ApplyInputRange();
    return true;
}

FrequencyCheck MeasurementWorkflow::ValidateFrequencies(double startField, double stopField,
                                                        bool singlePoint)
{
    FrequencyCheck check;
    check.startShown = startField;
    check.stopShown = stopField;
    const FrequencyLimits& limits = m_setup.limits;
    const auto validate = [&](double field, double& value, double& shown, const char* invalid,
                              const char* outOfRange) {
        if (field == value)
            return true;
        check.beep = true;
        if (field == 0) {
            check.status = invalid;
        } else if (field < limits.lowest || field > limits.highest) {
            check.status = outOfRange;
            value = field < limits.lowest ? limits.lowest : limits.highest;
        } else {
            check.beep = false;
            value = field;
            return true;
        }
        shown = value;
        return false;
    };
    if (!validate(startField, m_startFrequency, check.startShown, "Invalid start frequency value",
                  "Start frequency out of range"))
        return check;
    if (singlePoint) {
        m_stopFrequency = m_startFrequency;
        check.stopShown = m_stopFrequency;
    } else if (!validate(stopField, m_stopFrequency, check.stopShown, "Invalid stop frequency value",
                         "Stop frequency out of range")) {
        return check;
    }
    m_analyzer.SetSweepRange(m_startFrequency, m_stopFrequency);
    check.rangeSet = true;
    return check;
}

void MeasurementWorkflow::DeleteSet(CTalDocument& document, int& index)
{
    if (document.DeleteDataSet(index)) {
        document.SetModifiedFlag();
        document.UpdateAllViews(HINT_ALL);
    }
    index = -1;
}

void MeasurementWorkflow::EnableCalibratedButtons(bool enabled)
{
    m_testComponentEnabled = enabled;
    m_saveCalibrationEnabled = enabled;
}

void MeasurementWorkflow::Error(const char* text)
{
    m_prompter.Message(text, "Error", PromptButtons::Ok, PromptIcon::Error);
}
