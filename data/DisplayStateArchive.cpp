#include "data/DisplayStateArchive.h"

#include "data/archive/Archive.h"

namespace {

constexpr int32_t kSlideBarValueMarker = 0x100000;
constexpr int kFirstVersionWithMarker = 1003;
constexpr int kFirstVersionWithAnnotations = 1002;

// Fewest bytes of each repeated record, to bound counts before allocating.
constexpr size_t kRectBytes = 4 * 4;
constexpr size_t kOldSlideBarBytes = 4 + 8 + kRectBytes;
constexpr size_t kSlideBarBytes = kOldSlideBarBytes + 8;
constexpr size_t kViewObjBytes = kRectBytes + 6 * 4;
constexpr size_t kTextBoxBytes = kViewObjBytes + 1 + 4 + 2;

uint32_t ReadIntCount(CArchive& ar, size_t minItemBytes)
{
    const int32_t count = ar.ReadInt();
    if (count < 0)
        throw ArchiveError("negative count");
    ar.RequireItems(static_cast<uint32_t>(count), minItemBytes);
    return static_cast<uint32_t>(count);
}

StoredRect ReadRect(CArchive& ar)
{
    StoredRect r;
    r.left = ar.ReadInt();
    r.top = ar.ReadInt();
    r.right = ar.ReadInt();
    r.bottom = ar.ReadInt();
    return r;
}

void WriteRect(CArchive& ar, const StoredRect& r)
{
    ar.WriteInt(r.left);
    ar.WriteInt(r.top);
    ar.WriteInt(r.right);
    ar.WriteInt(r.bottom);
}

void ReadViewObj(CArchive& ar, StoredViewObj& obj)
{
    obj.rect = ReadRect(ar);
    obj.resizable = ar.ReadInt();
    obj.movable = ar.ReadInt();
    obj.selectable = ar.ReadInt();
    obj.shown = ar.ReadInt();
    obj.fourthFlag = ar.ReadInt();
    obj.gripSize = ar.ReadInt();
}

void WriteViewObj(CArchive& ar, const StoredViewObj& obj)
{
    WriteRect(ar, obj.rect);
    ar.WriteInt(obj.resizable);
    ar.WriteInt(obj.movable);
    ar.WriteInt(obj.selectable);
    ar.WriteInt(obj.shown);
    ar.WriteInt(obj.fourthFlag);
    ar.WriteInt(obj.gripSize);
}

void ReadTextBox(CArchive& ar, StoredTextBox& box)
{
    ReadViewObj(ar, box.obj);
    box.text = ar.ReadString();
    box.textInt = ar.ReadInt();
    box.textShort = ar.ReadWord();
}

void WriteTextBox(CArchive& ar, const StoredTextBox& box)
{
    WriteViewObj(ar, box.obj);
    ar.WriteString(box.text);
    ar.WriteInt(box.textInt);
    ar.WriteWord(box.textShort);
}

void ReadLegend(CArchive& ar, StoredLegend& legend)
{
    ReadViewObj(ar, legend.obj);
    legend.colors.resize(ar.ReadCount(4));
    for (uint32_t& color : legend.colors)
        color = ar.ReadUInt();
    legend.texts.resize(ar.ReadCount(1));
    for (std::string& text : legend.texts)
        text = ar.ReadString();
    legend.extra = ar.ReadInt();
}

void WriteLegend(CArchive& ar, const StoredLegend& legend)
{
    WriteViewObj(ar, legend.obj);
    ar.WriteCount(static_cast<uint32_t>(legend.colors.size()));
    for (uint32_t color : legend.colors)
        ar.WriteUInt(color);
    ar.WriteCount(static_cast<uint32_t>(legend.texts.size()));
    for (const std::string& text : legend.texts)
        ar.WriteString(text);
    ar.WriteInt(legend.extra);
}

}  // namespace

void ReadDisplayState(CArchive& ar, DisplayState& state, int fileVersion)
{
    state.formatMarker = fileVersion >= kFirstVersionWithMarker ? ar.ReadInt() : 0;
    const bool withValue = state.formatMarker >= kSlideBarValueMarker;

    state.slideBars.resize(ReadIntCount(ar, withValue ? kSlideBarBytes : kOldSlideBarBytes));
    for (StoredSlideBar& bar : state.slideBars) {
        bar.dataSetIndex = ar.ReadInt();
        bar.frequency = ar.ReadDouble();
        bar.value = withValue ? ar.ReadDouble() : 0.0;
        bar.rect = ReadRect(ar);
    }
    state.selected.resize(ReadIntCount(ar, 4));
    for (int32_t& flag : state.selected)
        flag = ar.ReadInt();
    state.descriptionWindows.resize(ReadIntCount(ar, 4));
    for (StoredDescriptionWindow& window : state.descriptionWindows) {
        window = {};
        window.present = ar.ReadInt();
        if (window.present) {
            window.dataSetIndex = ar.ReadInt();
            window.rect = ReadRect(ar);
        }
    }
    for (double& range : state.ranges)
        range = ar.ReadDouble();
    state.gridColor = ar.ReadInt();
    state.dataNumbersShown = ar.ReadInt();
    state.automaticScaling = ar.ReadInt();
    state.displayMode = ar.ReadString();
    state.defaultOutputNode = ar.ReadInt();
    state.defaultInputNode = ar.ReadInt();
    state.defaultScaleFactor = ar.ReadDouble();
    if (fileVersion < kFirstVersionWithAnnotations)
        return;

    state.titlePresent = ar.ReadInt() != 0;
    if (state.titlePresent)
        ReadTextBox(ar, state.title);
    state.descriptions.resize(ReadIntCount(ar, kTextBoxBytes));
    for (StoredTextBox& box : state.descriptions)
        ReadTextBox(ar, box);
    ReadLegend(ar, state.legend);
    state.nyquistReserved = ar.ReadInt();
    state.nyquistOptions = ar.ReadInt();
    state.nyquistPhaseFlip = ar.ReadInt();
}

void WriteDisplayState(CArchive& ar, const DisplayState& state)
{
    ar.WriteInt(DisplayState::kFormatMarker);
    ar.WriteInt(static_cast<int32_t>(state.slideBars.size()));
    for (const StoredSlideBar& bar : state.slideBars) {
        ar.WriteInt(bar.dataSetIndex);
        ar.WriteDouble(bar.frequency);
        ar.WriteDouble(bar.value);
        WriteRect(ar, bar.rect);
    }
    ar.WriteInt(static_cast<int32_t>(state.selected.size()));
    for (int32_t flag : state.selected)
        ar.WriteInt(flag);
    ar.WriteInt(static_cast<int32_t>(state.descriptionWindows.size()));
    for (const StoredDescriptionWindow& window : state.descriptionWindows) {
        ar.WriteInt(window.present);
        if (window.present) {
            ar.WriteInt(window.dataSetIndex);
            WriteRect(ar, window.rect);
        }
    }
    for (double range : state.ranges)
        ar.WriteDouble(range);
    ar.WriteInt(state.gridColor);
    ar.WriteInt(state.dataNumbersShown);
    ar.WriteInt(state.automaticScaling);
    ar.WriteString(state.displayMode);
    ar.WriteInt(state.defaultOutputNode);
    ar.WriteInt(state.defaultInputNode);
    ar.WriteDouble(state.defaultScaleFactor);
    ar.WriteInt(state.titlePresent ? 1 : 0);
    if (state.titlePresent)
        WriteTextBox(ar, state.title);
    ar.WriteInt(static_cast<int32_t>(state.descriptions.size()));
    for (const StoredTextBox& box : state.descriptions)
        WriteTextBox(ar, box);
    WriteLegend(ar, state.legend);
    ar.WriteInt(state.nyquistReserved);
    ar.WriteInt(state.nyquistOptions);
    ar.WriteInt(state.nyquistPhaseFlip);
}
