#pragma once
// CTalView: the common base of every display of a document. A QWidget that keeps the display
// attributes (ViewFields), one entry per data set (selected, visible, hit geometry), paints
// through an off-screen image with its renderer, and handles selection, keys, the display
// commands, description windows, the analyzer's sweep events (through its SweepTarget), the
// display state stored in documents, printing and copying of a second display's state.
//
// To add a display kind: derive from CTalView, set the display mode in the constructor, own
// a CGraphRenderer subclass and return it from Renderer(), return the kind and type name, then
// call AttachToDocument() at the end of the constructor.
#include <QImage>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "analyzer/target/SweepTarget.h"
#include "analyzer/target/SweepTargetHost.h"
#include "data/DocumentView.h"
#include "views/base/GraphRenderer.h"
#include "views/base/ViewFields.h"
#include "views/base/ViewHooks.h"
#include "views/command/CommandTarget.h"

class CTalDocument;
class CGraphAnnotations;
class CGraphTextDlg;
class CSlideBars;
class QPrinter;

// What the data-set properties dialog reads from and writes to a display.
struct DataSetProperties {
    int outputNode = 2;
    int inputNode = 1;
    double scaleFactor = 1.0;
    uint32_t gainColor = 0, phaseColor = 0;
    uint32_t nodeColor[4] = {0, 0, 0, 0};
    std::string description;
    bool visible = true;
};

class CTalView : public QWidget, public CDocumentView, public CommandTarget, public SweepTargetHost {
    Q_OBJECT
public:
    CTalView(CTalDocument* document, QWidget* parent);
    ~CTalView() override;

    CTalDocument* GetDocument() const { return m_doc; }
    ViewFields& Fields() { return m_fields; }
    const ViewFields& Fields() const { return m_fields; }
    // The renderer of a graph display; none for the text display.
    virtual CGraphRenderer* Renderer() { return nullptr; }
    virtual std::string GetViewTypeName() const { return "Unknown"; }
    // Where the analyzer dialogs send a sweep's events for this display.
    SweepTarget& GetSweepTarget() { return m_sweepTarget; }
    SweepTarget::Defaults& DataSetDefaults() { return m_sweepTarget.DataSetDefaults(); }
    const SweepTarget::Defaults& DataSetDefaults() const { return m_sweepTarget.DataSetDefaults(); }

    // Document observer.
    void AddDataSetAttributes(int index) override;
    void RemoveDataSetAttributes(int index) override;
    void RefreshDescriptionDialog(int index) override;
    void OnUpdate(int hint) override;
    void StoreDisplayState(DisplayState& state) const override;
    void LoadDisplayState(const DisplayState& state) override;
    void OnDataSetColorChanged(int index) override;
    bool CommitAnnotationEdit() override;

    // Commands (ids of views/command/CommandIds.h).
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUi& ui) override;

    // The graph and text rectangles and the legend, for the current window size; once.
    void OnInitialUpdate();
    // The device area a reading appended during a sweep changes: the band between the last two
    // readings' frequencies, widened by the marker half size, over the graph's height.
    QRect PointBandRect();
    // Invalidates the whole display without erasing; the next paint recomputes every value.
    void Redraw(bool erase = false);
    int AutoScale();
    // Hooks for the graph settings and data-set properties dialogs.
    virtual void OnGraphProperties() {}
    void OnDataSetProperties() override {}
    // The table of data set `index` for copying and exporting; 0 for an invalid index.
    virtual int FormatDataAsText(int index, std::string& text) const;

    int GetCurrentDataSet() const { return m_fields.currentDataSet; }
    void RecalcCurrentDataSet();
    // The lowest-numbered data set whose hit geometry contains the logical point, or -1.
    int HitDataSet(int x, int y) const;
    DataSetProperties GetDataSetProperties(int index);
    void SetDataSetProperties(int index, const DataSetProperties& properties);
    void ApplyDataSetProperties(int index, bool visible);

    // The selection commands.
    void OnSelectAll();
    void OnShowAll();
    void OnHide();
    void OnDelete();
    void OnShowDataDescription();
    CGraphTextDlg* DescriptionWindow(int index) const;

    // The client area as a mapping of the logical space.
    LogicalMapping ClientMapping() const;
    // Draws the display into any painter as it looks on screen; `printing` adds the child
    // dialogs (printers, pictures).
    void Render(QPainter& painter, const LogicalMapping& mapping, bool printing);
    // Draws the area (client pixels) into the off-screen image that paint events copy to the
    // screen.
    void PaintToBuffer(const QRect& area);
    // The client area as a picture: white background, child dialogs painted in.
    virtual QImage RenderPicture();
    // Printing through Qt's print dialog and preview; PrintToFile writes a PDF.
    void OnFilePrint();
    void OnFilePrintPreview();
    bool PrintToFile(const std::string& path);
    virtual void PrintOn(QPrinter& printer);

    // SweepTargetHost.
    void DeselectAllDataSets() override;
    bool AutomaticScaling() const override { return m_fields.automaticScaling != 0; }
    std::optional<double> RlcReferenceResistor() const override;

    // The frequency cursors of this display and their dialogs.
    CSlideBars& SlideBars() { return *m_slideBars; }
    virtual void OnAddSlideBar();

    // The legend, title and text boxes of this display.
    CGraphAnnotations& Annotations() { return *m_annotations; }
    const CGraphAnnotations& Annotations() const { return *m_annotations; }

    // The key table (Part of the interaction): returns true when the key was used.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);

protected:
    // Called at the end of a subclass constructor: takes the document's data sets and the
    // state of the document's first display (or the document's stored state).
    void AttachToDocument();
    // The two legend lines' texts ("Gain"/"Phase", "Impedance"/"Phase").
    virtual std::vector<std::string> LegendTexts() const { return {}; }
    // The data-set kind of the text tables this display copies.
    DisplayKind TableKind() const { return GetDisplayKind(); }
    // Runs the properties dialog of `kind` for the lowest-numbered selected data set (0 when
    // none); afterwards the legend follows and a data set hidden in the dialog is deselected.
    void RunPropertiesFor(int kind);
    // Copies what a second display takes over from the document's first one.
    virtual void CopyFromFirstDisplay(CTalView& first);
    void SetModified();
    void ShowPaintMessages();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    CTalDocument* m_doc;
    ViewFields m_fields;
    SweepTarget m_sweepTarget;
    bool m_initialUpdateDone = false;
    std::unique_ptr<CSlideBars> m_slideBars;  // destroyed before the child dialogs

private:
    void CloseDescriptionWindow(int index);
    void OpenDescriptionWindow(int index, const StoredRect* placement);
    void OnDescriptionClosed(CGraphTextDlg* window);
    void OnDescriptionEdited(CGraphTextDlg* window);
    int DescriptionIndex(const CGraphTextDlg* window) const;
    void AfterSelectionChange(bool changed);
    void RecolorLegend();
    void DrawChildDialogs(ViewPainter& dc);

    std::vector<CGraphTextDlg*> m_descriptionWindows;  // parallel to the data sets
    std::unique_ptr<CGraphAnnotations> m_annotations;
    bool m_boxPopupShown = false;  // the last right press opened a box's popup
    QImage m_buffer;
    bool m_messagesPending = false;
};
