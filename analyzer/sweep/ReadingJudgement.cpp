#include "analyzer/sweep/ReadingJudgement.h"

namespace analyzer {

namespace {

void Note(std::vector<std::string>& list, const std::string& text)
{
    if (!text.empty())
        list.push_back(text);
}

} // namespace

Judgement JudgeReading(SweepState& state, const ServoSettings& servo, const MaxChangeSettings& maxChange,
                       bool sweeping, const FamilyTexts& texts)
{
    Judgement judgement;
    int channel = 1;
    if (servo.on) {
        const ServoChannel found = OnServoFindChannel(state, servo.channel, texts);
        channel = found.channel;
        Note(judgement.messages, found.message);
        const ServoVerdict verdict = OnServoVerifyNewDataPoint(state, channel, servo, texts);
        judgement.accept = verdict.accept;
        Note(judgement.logLines, verdict.logLine);
        Note(judgement.messages, verdict.message);
    }
    if (sweeping && judgement.accept) {
        const int gain = maxChange.gainOn ? GainCheck(state, maxChange.gainLimitDb) : 0;
        const int phase = maxChange.phaseOn ? PhaseCheck(state, maxChange.phaseLimitDegrees) : 0;
        const StepAdjustment adjustment = AdjustStepForMaxChange(state, gain, phase);
        judgement.accept = adjustment.accept;
        judgement.stepChanged = adjustment.stepChanged;
        Note(judgement.logLines, adjustment.logLine);
    }
    if (servo.on) {
        const ServoPrediction prediction = OnServoPredictNextOscVoltage(state, channel, servo);
        judgement.nextAmplitude = prediction.amplitude;
        Note(judgement.messages, prediction.message);
    }
    if (!judgement.accept)
        state.reading = state.previous;
    return judgement;
}

} // namespace analyzer
