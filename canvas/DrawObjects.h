#pragma once
// Renders the visible part of a graph into an image of the canvas size: the one picture of the
// graph that the window shows, rebuilt from scratch on every change.

#include "NodeGeometry.h"
#include "modHelper.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

class QPainter;
class clsGraph;

namespace Canvas {

using NodeGeometry::CentreOffset;
using NodeGeometry::LinkEndRadius;
constexpr int NodeSize = NodeGeometry::Size; // a node image and its label box
constexpr int TextBoxInset = 21;             // from the shortened link's ends to its text box

const QColor BackgroundColour(255, 255, 255);
const QColor LinkColour(0, 0, 0);
const QColor FlaggedLinkColour(255, 0, 0);
const QColor SelectedLinkColour(96, 96, 254);
const QColor PreferredLinkColour(0, 160, 0); // the preferred path of a stochastic run, on request
const QColor NodeFillColour(255, 255, 150);
const QColor SelectedNodeFillColour(150, 255, 225);
const QColor RunEndColour(128, 0,
                          160); // the "S" and "D" badges of the run's source and destination

// The preferred path is drawn this wide, over the selection, so that it shows on any link.
constexpr int PreferredLinkWidth = 3;
// A label wider than this is elided: it would run over its neighbours.
constexpr int LabelWidth = 2 * NodeSize;

// What the picture depends on besides the graph.
struct View {
    int32_t SelectedNode = -1; // one-based, -1 for none
    int32_t SelectedLink = -1;
    // Selected together besides: drawn as the selected node and link are. One-based, ascending.
    std::vector<int32_t> SelectedNodes;
    std::vector<int32_t> SelectedLinks;
    // The links of the path the automata prefer, shown on request. One-based, ascending.
    std::vector<int32_t> PreferredLinks;
    bool NodeSelected(int32_t node) const;
    bool LinkSelected(int32_t link) const;
    bool LinkPreferred(int32_t link) const;
    // The run's source and destination, badged "S" and "D" on request; -1 for none.
    int32_t SourceNode = -1;
    int32_t DestNode = -1;
    bool Working = false; // during a run the selected link shows its run colour
    QPoint Scroll;        // the scroll bars: the canvas shows document * Zoom - Scroll
    double Zoom = 1.0;
    qreal DevicePixelRatio = 1.0; // device pixels per canvas pixel: sharp on dense screens
};

// Below this zoom texts would be a few pixels high: links and nodes are drawn as plain shapes.
constexpr double DetailedFrom = 0.5;

// The two node images: 0 for every node, 1 for the selected one. 41 x 41, transparent corners.
const QImage& NodeImage(int index);

// The canvas fonts: "Arial", normal weight, antialiased; 11 pixels for labels, 10 for links.
QFont MakeNodeFont();
QFont MakeLinkFont();

// The label as a node shows it in the font: whole, or elided to LabelWidth.
QString ShownLabel(const QString& label, const QFont& nodeFont);

// The whole canvas: white background, links (black, red when flagged, blue when selected) with
// their texts, the preferred path over them when asked (green, wider), then the nodes with their
// labels and, when asked, the badges of the run's ends. At 100% every pixel stands where it always
// has, lines without antialiasing; zoomed in or out, lines and images are smoothed.
QImage DrawObjects(const clsGraph& graph, const View& view, QSize size, const QFont& nodeFont,
                   const QFont& linkFont);

// Drawing leaves out what lies farther than this from the corner it starts at (Qt's fixed-point
// text positions overflow beyond): a picture spans at most this many document pixels.
constexpr int64_t DrawnReach = int64_t{1} << 22;

// The part of the document from `corner` (in document pixels, 64 bits: nodes may lie anywhere a
// position reaches) of the given size, as the canvas shows it at 100% without a selection,
// painted from the painter's origin on white: for pictures of the graph. Vector nodes are circles
// drawn as shapes (SVG, PDF); otherwise the canvas's node images.
void DrawGraph(QPainter& painter, const clsGraph& graph, modHelper::Point corner, QSize size,
               const QFont& nodeFont, const QFont& linkFont, bool vectorNodes);

} // namespace Canvas
