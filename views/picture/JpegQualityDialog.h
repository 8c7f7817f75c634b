#pragma once
// OJpgQualityDlg, "Jpeg Quality": a slider from "Lowest" (10) to "Highest" (100), at 70 on
// every opening.
#include <QDialog>

class QSlider;

class OJpgQualityDlg : public QDialog {
    Q_OBJECT
public:
    explicit OJpgQualityDlg(QWidget* parent = nullptr);
    int Quality() const;
    QSlider* Slider() const { return m_slider; }

private:
    QSlider* m_slider;
};
