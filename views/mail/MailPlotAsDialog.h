#pragma once
// OMailPlotAs, "Mail As": send the plot as a "Jpeg" picture (0, chosen at opening) or as the
// "Tal File" (1).
#include <QDialog>

class QRadioButton;

class OMailPlotAs : public QDialog {
    Q_OBJECT
public:
    explicit OMailPlotAs(QWidget* parent = nullptr);
    int Choice() const;  // 0 Jpeg, 1 Tal File
    QRadioButton* TalFileButton() const { return m_talFile; }

private:
    QRadioButton* m_jpeg;
    QRadioButton* m_talFile;
};
