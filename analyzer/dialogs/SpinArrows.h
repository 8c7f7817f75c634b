#pragma once
// The pair of spin arrows beside a field of the analyzer dialogs: up and down, no value of its own.

#include <QWidget>

class SpinArrows : public QWidget {
    Q_OBJECT
public:
    explicit SpinArrows(QWidget* parent = nullptr);

signals:
    void up();
    void down();
};

// field with arrows at its right, in one widget for a layout cell.
QWidget* WithArrows(QWidget* field, SpinArrows* arrows);
