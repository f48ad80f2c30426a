#pragma once
// The one export by a file's name, for File > Export... and pathloom --export: a picture (.png,
// .svg, .pdf) or data (.graphml, .xml, .dot, .gv, .csv), as the extension says.

#include <QString>
#include <functional>
#include <string>

class clsGraph;

// Writes the graph whole, or raises PathloomError and leaves any existing file as it was: as
// Canvas::GraphPicture does for a picture past the limits (its message ending with what `smaller`
// says of the scale that fits), `tooLarge` when the machine cannot hold the picture, and
// "'<file>' could not be written: <why>". A PNG is drawn at `scale`. False, with nothing written,
// for an extension of neither kind.
bool ExportGraph(const clsGraph& graph, const QString& path, double scale,
                 const std::function<QString(double)>& smaller, const std::string& tooLarge);
