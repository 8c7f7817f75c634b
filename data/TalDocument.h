#pragma once
// The document: an ordered list of data sets addressed by index, their numbering, the
// running sweep's acquisition set, imports, demonstration data, math and the .tal file.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/DisplayState.h"
#include "data/DocumentView.h"

class CArchive;

class CTalDocument {
public:
    CTalDocument();
    CTalDocument(const CTalDocument&) = delete;
    CTalDocument& operator=(const CTalDocument&) = delete;
    virtual ~CTalDocument();

    // Framework side: title, path, modified flag and views (not owned).
    std::string m_title = "Untitled";
    std::string m_pathName;
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    void AddView(CDocumentView* view);
    void RemoveView(CDocumentView* view);
    int GetViewCount() const { return static_cast<int>(m_views.size()); }
    const std::vector<CDocumentView*>& GetViews() const { return m_views; }
    CDocumentView* GetFirstDisplayView() const;  // first view whose IsDisplayView() is true
    void UpdateAllViews(int hint);
    // Resets numbering, seeds the random generator (new document).
    void OnNewDocument();

    int GetDataSetCount() const { return static_cast<int>(m_dataSets.size()); }
    CDataSet* GetDataSet(int index) const;  // nullptr outside the list
    // Takes ownership, gives the set the next number, tells the display views; -1 for no set.
    int AddDataSet(std::unique_ptr<CDataSet> set);
    // 1, or 0 for an invalid index; the display views hear of it first. Deleting the last set
    // restarts the numbering; the acquisition set and the last added index never dangle.
    int DeleteDataSet(int index);

    int StartAcquisitionSet();
    int AppendAcquisitionPoint(double f, double v1, double p1, double v2, double p2, double v3,
                               double p3, double v4, double p4);
    void EndAcquisition() { m_acquisitionSet = nullptr; }
    bool IsAcquiring() const { return m_acquisitionSet != nullptr; }
    int GetLastAddedIndex() const { return m_lastAddedIndex; }
    int GetNextNumber() const { return m_nextNumber; }

    std::string GetDataSetName(int index) const;
    void SetDataSetName(int index, const std::string& name);
    std::string GetDataSetDescription(int index) const;
    void SetDataSetDescription(int index, const std::string& text);
    int GetCalibrationRole(int index) const;
    void SetCalibrationRole(int index, int role);
    int GetDataSetNumber(int index) const;

    // Per-data-set forwarding accessors (index must be valid unless a default is documented).
    int GetPointCount(int set) const;
    double GetFrequency(int set, int point) const;
    double GetNodeVoltage(int set, int point, int node) const;
    double GetNodePhase(int set, int point, int node) const;
    int GetNodeId(int set, int point, int entry) const;
    int GetLastNodeIndex(int set, int point) const;
    double GetGain(int set, int point) const;
    double GetGainDB(int set, int point) const;
    double GetPhase(int set, int point) const;
    double GetReal(int set, int point) const;
    double GetImaginary(int set, int point) const;
    double GetGainAt(int set, double f) const;
    double GetGainAtDB(int set, double f) const;  // 9e99 stays 9e99
    double GetPhaseAt(int set, double f) const;
    double GetSlopeAt(int set, double f) const;
    double GetMinFrequency(int set) const;
    double GetMaxFrequency(int set) const;
    double GetMinGain(int set) const;
    double GetMaxGain(int set) const;
    double GetMinGainDB(int set) const;
    double GetMaxGainDB(int set) const;
    double GetMinPhase(int set) const;
    double GetMaxPhase(int set) const;
    uint32_t GetGainColor(int set) const;   // 0x0000FF with no data sets
    uint32_t GetPhaseColor(int set) const;  // 0xFF0000 with no data sets
    uint32_t GetNodeColor(int set, int which) const;  // 0xFF00FF with no data sets
    void SetGainColor(int set, uint32_t color);
    void SetPhaseColor(int set, uint32_t color);
    int GetInputNode(int set) const;
    int GetOutputNode(int set) const;
    int SetInputNode(int set, int node);
    int SetOutputNode(int set, int node);
    double GetScaleFactor(int set) const;
    int SetScaleFactor(int set, double value);
    int GetInputRange(int set) const;   // application's value for an invalid index
    int GetChannelPair(int set) const;  // application's value for an invalid index
    void RecalcAllLimits();

    // Math: operand index or -1 with a constant; returns the index of the new data set.
    int OnViewMath(int index1, double constant1, int index2, double constant2, int operation);
    void AddRandomData();
    int ImportText(const std::string& text, int outputNode, int inputNode, double scaleFactor);
    std::string GetTextDescription() const;
    // Before the save prompt: commits annotation editing; sets the modified flag if one was.
    void SaveModified();

    // Document file. Errors: "Unexpected file format.", "Failed to open document.",
    // "Failed to save document.". A save writes a temporary file and renames it.
    bool LoadFromBytes(std::span<const uint8_t> bytes, std::string& error);
    bool LoadFromFile(const std::string& path, std::string& error);
    bool SaveToBytes(std::vector<uint8_t>& bytes, std::string& error);
    bool SaveToFile(const std::string& path, std::string& error);
    void Serialize(CArchive& ar);

    // Display state read from the last loaded file, for the display that takes the document.
    DisplayState m_displayState;
    bool m_displayStatePresent = false;
    // Display kind recorded in the last loaded file; written again when no display view exists.
    std::optional<DisplayKind> m_fileDisplayKind;

    std::vector<std::unique_ptr<CDataSet>> m_dataSets;
    int m_nextNumber = 1;
    CDataSet* m_acquisitionSet = nullptr;
    int m_lastAddedIndex = -1;

private:
    bool m_modified = false;
    std::vector<CDocumentView*> m_views;
};
