#pragma once
// CSlideBars: the slide bars of one graph display. It keeps each bar's info dialog next to the
// display's SlideBarState list and does everything that changes the list: Add Slide Bar, typed
// frequencies (from a dialog or the arrow keys), dragging, closing, removing a data set's bars,
// loading from and storing to the display state and copying a first display's bars. The
// display calls it from its commands, mouse and key handlers; regions are rebuilt by drawing.
#include <QObject>
#include <QPointer>
#include <vector>

#include "data/DisplayState.h"
#include "views/base/HitGeometry.h"

class CSlideBarDlg;
class CTalView;

class CSlideBars : public QObject {
    Q_OBJECT
public:
    explicit CSlideBars(CTalView& view);

    int Count() const;
    CSlideBarDlg* Dialog(int index) const;
    // The bar last pressed with the mouse, -1 when none.
    int Active() const { return m_active; }

    // Add Slide Bar: a new bar on the lowest-numbered selected data set; nothing without one.
    void Add();
    // A frequency typed into `dialog` (also the path of the arrow keys).
    void OnFrequencyTyped(CSlideBarDlg* dialog, double frequency);
    // Closes the bar of `dialog` (Esc or the close box).
    void OnCloseRequested(CSlideBarDlg* dialog);
    // Writes the values at bar `index` into its dialog.
    void UpdateFromView(int index);

    // A left press at a logical point: the first bar (of a visible data set) whose region holds
    // it starts dragging and becomes the active bar; returns its data set, or -1.
    int Press(int x, int y);
    // The dragging bar follows the logical x; false when no bar is being dragged.
    bool DragTo(int x);
    // Left (down) or Right (up): the active bar moves to the nearest point frequency of its
    // data set below or above it; false when there is no active bar.
    bool StepActive(bool up);

    // The data set `index` was deleted: its bars go, bars of later sets move down one index.
    void RemoveDataSet(int index);
    void Load(const std::vector<StoredSlideBar>& stored);
    void Store(std::vector<StoredSlideBar>& stored) const;
    void CopyFrom(const CSlideBars& first);
    // Every dialog shown while its data set is visible and hidden otherwise; after a paint this
    // runs from the event loop, never inside the paint.
    void SyncDialogVisibility();
    void SyncDialogVisibilityLater();

private:
    CSlideBarDlg* CreateDialog(int dataSet);
    void AppendBar(int dataSet, double frequency, double value, const QRect& placement);
    int IndexOf(const CSlideBarDlg* dialog) const;
    // Steps 2 to 5 of a typed frequency for bar `index`.
    void MoveTo(int index, double frequency);
    // The value a bar stores at a frequency (its data set's phase, flipped on the Nyquist display).
    double ValueAt(int dataSet, double frequency) const;
    // Rebuilds the bar's region for the display's current client mapping.
    void BuildRegion(int index);
    void Invalidate(const HitGeometry& region);
    void DestroyDialog(int index);
    bool DialogShouldShow(int index) const;

    CTalView& m_view;
    std::vector<QPointer<CSlideBarDlg>> m_dialogs;  // parallel to the display's bars
    int m_active = -1;
    bool m_syncQueued = false;
};
