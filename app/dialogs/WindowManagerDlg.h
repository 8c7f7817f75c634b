#pragma once
// "Windows": the list of document windows, to activate one or close the selected ones.
#include <QDialog>

class QListWidget;
class QMdiArea;

class CWindowManagerDlg : public QDialog {
public:
    explicit CWindowManagerDlg(QMdiArea& area, QWidget* parent = nullptr);

    QListWidget* List() const { return m_list; }
    void ActivateSelected();
    void CloseSelected();

private:
    void Fill();

    QMdiArea& m_area;
    QListWidget* m_list;
};
