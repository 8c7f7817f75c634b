#pragma once
// The 1960, 1800-series and NF 5060 analyzer control dialogs as the application holds them: the
// dialog with its engine and the host it reads the program's values through. These dialogs open no
// connection when they are created (the first measurement does), so the preference block is only
// read. A dialog that let itself go (the 1960 closed with no display) answers nullptr from Window().
#include <QPointer>
#include <QWidget>

#include <memory>

#include "analyzer/engine/AnalyzerDialog.h"
#include "app/application/AnalyzerControl.h"
#include "app/application/ApplicationAnalyzerHost.h"

template <typename Dialog>
class FamilyAnalyzerControl final : public AnalyzerControl {
public:
    explicit FamilyAnalyzerControl(const AnalyzerDialogContext& context)
        : m_host(std::make_unique<ApplicationAnalyzerHost>(context))
    {
        m_dialog = new Dialog(*m_host, context.parent);
        if (context.progress)
            QObject::connect(m_dialog, &Dialog::progressChanged, m_dialog,
                             [progress = context.progress](int percent) { progress(percent); });
    }
    ~FamilyAnalyzerControl() override { delete m_dialog.data(); }  // it holds a reference to the host
    FamilyAnalyzerControl(const FamilyAnalyzerControl&) = delete;
    FamilyAnalyzerControl& operator=(const FamilyAnalyzerControl&) = delete;

    QWidget* Window() override { return m_dialog.data(); }
    bool IsSweeping() const override { return m_dialog && m_dialog->Engine().IsSweeping(); }
    bool IsBusy() const override { return m_dialog && m_dialog->Engine().IsMeasuring(); }
    void StopMeasurement() override
    {
        if (!m_dialog)
            return;
        if (m_dialog->Engine().IsSweeping())
            m_dialog->Engine().OnButtonRunSweep();
        else if (m_dialog->Engine().InStartFrequencyMode())
            m_dialog->Engine().OnButtonTakeData();
    }
    void SetChannelCount(int) override {}
    bool ApplyPreferenceBlock(const std::string& block) override
    {
        if (m_dialog && !block.empty())
            m_dialog->Engine().ApplyPreferences(block);
        return m_dialog != nullptr;
    }
    void StoreParameters() override
    {
        if (m_dialog)
            m_dialog->Engine().DumpParameters(m_host->PreferenceBlock());
    }
    void OnAnalyzerAddressChanged() override
    {
        if (m_dialog)
            m_dialog->Engine().OnAnalyzerAddressChanged();
    }
    AnalyzerDialog* Engine() override { return m_dialog ? &m_dialog->Engine() : nullptr; }

private:
    std::unique_ptr<ApplicationAnalyzerHost> m_host;
    QPointer<Dialog> m_dialog;
};
