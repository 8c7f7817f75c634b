#include "cli/DocumentReport.h"

#include <cstdio>

#include "cli/JsonWriter.h"
#include "data/ApplicationData.h"
#include "data/TalDocument.h"

namespace {

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    AppendJsonEscaped(out, text);
    return out + '"';
}

std::string Colour(uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(colour));
    return text;
}

std::string Num(double value) { return FormatShortest(value); }

std::string Rect(const StoredRect& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

std::string ViewObj(const StoredViewObj& o)
{
    return "rect " + Rect(o.rect) + ", resizable " + std::to_string(o.resizable) + ", movable " +
           std::to_string(o.movable) + ", selectable " + std::to_string(o.selectable) +
           ", shown " + std::to_string(o.shown) + ", fourth flag " +
           std::to_string(o.fourthFlag) + ", grip " + std::to_string(o.gripSize);
}

std::string TextBox(const StoredTextBox& box)
{
    return Quoted(box.text) + ", int " + std::to_string(box.textInt) + ", short " +
           std::to_string(box.textShort) + ", " + ViewObj(box.obj);
}

void PrintDataSetText(std::ostream& out, const CDataSet& set, int index, bool withPoints)
{
    out << "data set " << set.m_number << " (index " << index << ")\n";
    out << "  name: " << Quoted(set.m_name) << '\n';
    out << "  description: " << Quoted(set.m_description) << '\n';
    out << "  calibration role: " << set.m_calibrationRole << '\n';
    out << "  record version: " << set.m_version << '\n';
    out << "  output node: " << set.m_outputNode << ", input node: " << set.m_inputNode
        << ", scale factor: " << Num(set.m_scaleFactor) << '\n';
    out << "  input range: " << set.m_inputRange << ", channel pair: " << set.m_channelPair
        << ", reserved: " << set.m_reserved << '\n';
    out << "  gain colour: " << Colour(set.m_gainColor)
        << ", phase colour: " << Colour(set.m_phaseColor) << ", node colours:";
    for (uint32_t c : set.m_nodeColor)
        out << ' ' << Colour(c);
    out << '\n';
    out << "  frequency: " << Num(set.m_minFrequency) << " .. " << Num(set.m_maxFrequency)
        << " Hz\n";
    out << "  gain: " << Num(set.m_minGain) << " .. " << Num(set.m_maxGain) << '\n';
    out << "  phase: " << Num(set.m_minPhase) << " .. " << Num(set.m_maxPhase) << " deg\n";
    for (int k = 0; k < 4; ++k)
        out << "  node " << k + 1 << " voltage: " << Num(set.m_minVoltage[k]) << " .. "
            << Num(set.m_maxVoltage[k]) << " V\n";
    out << "  points: " << set.GetPointCount() << '\n';
    if (!withPoints)
        return;
    for (int i = 0; i < set.GetPointCount(); ++i) {
        const CDataPoint& point = *set.m_points[i];
        out << "    " << i << ": " << Num(point.m_frequency) << " Hz";
        for (const CDataPoint::NodeVoltagePhase& entry : point.m_nodes)
            out << " | node " << entry.node << ' ' << Num(entry.voltage) << " V "
                << Num(entry.phase) << " deg";
        out << '\n';
    }
}

void PrintDisplayStateText(std::ostream& out, const CTalDocument& document)
{
    if (!document.m_displayStatePresent) {
        out << "display state: absent\n";
        return;
    }
    const DisplayState& s = document.m_displayState;
    out << "display state:\n";
    out << "  format marker: 0x" << std::hex << s.formatMarker << std::dec << '\n';
    out << "  slide bars: " << s.slideBars.size() << '\n';
    for (const StoredSlideBar& bar : s.slideBars)
        out << "    data set index " << bar.dataSetIndex << ", frequency " << Num(bar.frequency)
            << ", value " << Num(bar.value) << ", rect " << Rect(bar.rect) << '\n';
    out << "  selected:";
    for (int32_t flag : s.selected)
        out << ' ' << flag;
    out << '\n';
    out << "  description windows: " << s.descriptionWindows.size() << '\n';
    for (const StoredDescriptionWindow& w : s.descriptionWindows) {
        out << "    present " << w.present;
        if (w.present)
            out << ", data set index " << w.dataSetIndex << ", rect " << Rect(w.rect);
        out << '\n';
    }
    out << "  ranges:";
    for (double r : s.ranges)
        out << ' ' << Num(r);
    out << '\n';
    out << "  grid colour: " << Colour(static_cast<uint32_t>(s.gridColor))
        << ", data numbers shown: " << s.dataNumbersShown
        << ", automatic scaling: " << s.automaticScaling << '\n';
    out << "  display mode: " << Quoted(s.displayMode) << '\n';
    out << "  defaults: output node " << s.defaultOutputNode << ", input node "
        << s.defaultInputNode << ", scale factor " << Num(s.defaultScaleFactor) << '\n';
    if (s.titlePresent)
        out << "  title: " << TextBox(s.title) << '\n';
    else
        out << "  title: absent\n";
    out << "  text boxes: " << s.descriptions.size() << '\n';
    for (const StoredTextBox& box : s.descriptions)
        out << "    " << TextBox(box) << '\n';
    out << "  legend: " << ViewObj(s.legend.obj) << ", extra " << s.legend.extra << '\n';
    for (size_t i = 0; i < s.legend.colors.size() || i < s.legend.texts.size(); ++i) {
        out << "    ";
        if (i < s.legend.colors.size())
            out << Colour(s.legend.colors[i]) << ' ';
        if (i < s.legend.texts.size())
            out << Quoted(s.legend.texts[i]);
        out << '\n';
    }
    out << "  nyquist: reserved " << s.nyquistReserved << ", options " << s.nyquistOptions
        << ", phase flip " << s.nyquistPhaseFlip << '\n';
}

void JsonRect(JsonWriter& json, std::string_view key, const StoredRect& r)
{
    json.Key(key);
    json.BeginObject();
    json.Field("left", r.left);
    json.Field("top", r.top);
    json.Field("right", r.right);
    json.Field("bottom", r.bottom);
    json.EndObject();
}

void JsonViewObj(JsonWriter& json, const StoredViewObj& o)
{
    JsonRect(json, "rect", o.rect);
    json.Field("resizable", o.resizable);
    json.Field("movable", o.movable);
    json.Field("selectable", o.selectable);
    json.Field("shown", o.shown);
    json.Field("fourthFlag", o.fourthFlag);
    json.Field("gripSize", o.gripSize);
}

void JsonTextBox(JsonWriter& json, const StoredTextBox& box)
{
    json.BeginObject();
    json.Field("text", box.text);
    json.Field("textInt", box.textInt);
    json.Field("textShort", box.textShort);
    JsonViewObj(json, box.obj);
    json.EndObject();
}

void JsonDataSet(JsonWriter& json, const CDataSet& set)
{
    json.BeginObject();
    json.Field("number", set.m_number);
    json.Field("name", set.m_name);
    json.Field("description", set.m_description);
    json.Field("calibrationRole", set.m_calibrationRole);
    json.Field("recordVersion", set.m_version);
    json.Field("outputNode", set.m_outputNode);
    json.Field("inputNode", set.m_inputNode);
    json.Field("scaleFactor", set.m_scaleFactor);
    json.Field("inputRange", set.m_inputRange);
    json.Field("channelPair", set.m_channelPair);
    json.Field("reserved", set.m_reserved);
    json.Field("gainColor", set.m_gainColor);
    json.Field("phaseColor", set.m_phaseColor);
    json.Key("nodeColors");
    json.BeginArray();
    for (uint32_t c : set.m_nodeColor)
        json.Integer(c);
    json.EndArray();
    json.Field("minFrequency", set.m_minFrequency);
    json.Field("maxFrequency", set.m_maxFrequency);
    json.Field("minGain", set.m_minGain);
    json.Field("maxGain", set.m_maxGain);
    json.Field("minPhase", set.m_minPhase);
    json.Field("maxPhase", set.m_maxPhase);
    json.Key("nodeVoltageLimits");
    json.BeginArray();
    for (int k = 0; k < 4; ++k) {
        json.BeginObject();
        json.Field("node", k + 1);
        json.Field("min", set.m_minVoltage[k]);
        json.Field("max", set.m_maxVoltage[k]);
        json.EndObject();
    }
    json.EndArray();
    json.Key("points");
    json.BeginArray();
    for (const auto& point : set.m_points) {
        json.BeginObject();
        json.Field("frequency", point->m_frequency);
        json.Key("nodes");
        json.BeginArray();
        for (const CDataPoint::NodeVoltagePhase& entry : point->m_nodes) {
            json.BeginObject();
            json.Field("node", entry.node);
            json.Field("voltage", entry.voltage);
            json.Field("phase", entry.phase);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void JsonDisplayState(JsonWriter& json, const DisplayState& s)
{
    json.BeginObject();
    json.Field("formatMarker", s.formatMarker);
    json.Key("slideBars");
    json.BeginArray();
    for (const StoredSlideBar& bar : s.slideBars) {
        json.BeginObject();
        json.Field("dataSetIndex", bar.dataSetIndex);
        json.Field("frequency", bar.frequency);
        json.Field("value", bar.value);
        JsonRect(json, "rect", bar.rect);
        json.EndObject();
    }
    json.EndArray();
    json.Key("selected");
    json.BeginArray();
    for (int32_t flag : s.selected)
        json.Integer(flag);
    json.EndArray();
    json.Key("descriptionWindows");
    json.BeginArray();
    for (const StoredDescriptionWindow& w : s.descriptionWindows) {
        json.BeginObject();
        json.Field("present", w.present);
        if (w.present) {
            json.Field("dataSetIndex", w.dataSetIndex);
            JsonRect(json, "rect", w.rect);
        }
        json.EndObject();
    }
    json.EndArray();
    json.Key("ranges");
    json.BeginArray();
    for (double r : s.ranges)
        json.Number(r);
    json.EndArray();
    json.Field("gridColor", s.gridColor);
    json.Field("dataNumbersShown", s.dataNumbersShown);
    json.Field("automaticScaling", s.automaticScaling);
    json.Field("displayMode", s.displayMode);
    json.Field("defaultOutputNode", s.defaultOutputNode);
    json.Field("defaultInputNode", s.defaultInputNode);
    json.Field("defaultScaleFactor", s.defaultScaleFactor);
    json.Field("titlePresent", s.titlePresent);
    if (s.titlePresent) {
        json.Key("title");
        JsonTextBox(json, s.title);
    }
    json.Key("textBoxes");
    json.BeginArray();
    for (const StoredTextBox& box : s.descriptions)
        JsonTextBox(json, box);
    json.EndArray();
    json.Key("legend");
    json.BeginObject();
    JsonViewObj(json, s.legend.obj);
    json.Key("colors");
    json.BeginArray();
    for (uint32_t c : s.legend.colors)
        json.Integer(c);
    json.EndArray();
    json.Key("texts");
    json.BeginArray();
    for (const std::string& t : s.legend.texts)
        json.String(t);
    json.EndArray();
    json.Field("extra", s.legend.extra);
    json.EndObject();
    json.Field("nyquistReserved", s.nyquistReserved);
    json.Field("nyquistOptions", s.nyquistOptions);
    json.Field("nyquistPhaseFlip", s.nyquistPhaseFlip);
    json.EndObject();
}

}  // namespace

void PrintDocumentText(std::ostream& out, const CTalDocument& document, const std::string& path,
                       bool withPoints)
{
    out << "file: " << path << '\n';
    out << "version: " << appData().lastLoadedFileVersion << '\n';
    out << "next number: " << document.m_nextNumber << '\n';
    out << "requested display type: " << appData().requestedDisplayType << '\n';
    out << "data sets: " << document.GetDataSetCount() << '\n';
    for (int i = 0; i < document.GetDataSetCount(); ++i)
        PrintDataSetText(out, *document.GetDataSet(i), i, withPoints);
    PrintDisplayStateText(out, document);
}

void PrintDocumentJson(std::ostream& out, const CTalDocument& document, const std::string& path)
{
    JsonWriter json(out);
    json.BeginObject();
    json.Field("file", path);
    json.Field("version", appData().lastLoadedFileVersion);
    json.Field("nextNumber", document.m_nextNumber);
    json.Field("requestedDisplayType", appData().requestedDisplayType);
    json.Key("dataSets");
    json.BeginArray();
    for (int i = 0; i < document.GetDataSetCount(); ++i)
        JsonDataSet(json, *document.GetDataSet(i));
    json.EndArray();
    json.Field("displayStatePresent", document.m_displayStatePresent);
    if (document.m_displayStatePresent) {
        json.Key("displayState");
        JsonDisplayState(json, document.m_displayState);
    }
    json.EndObject();
}
