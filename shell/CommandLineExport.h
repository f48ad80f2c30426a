#pragma once
// pathloom --export OUT DOCUMENT [--scale S]: the graph written as a picture (.png, .svg, .pdf) or
// as data (.graphml, .dot, .csv) without showing a window, for scripts. pathloom
// --export-animation OUT.gif|OUT.webm DOCUMENT [RUN OPTIONS]: a run of the document, with
// pathloom-run's options over its stored settings, written as an animation.

#include <QStringList>

// True when the arguments ask for an export of either kind (the program then needs no display).
bool AsksForExport(int argc, char** argv);

// Exports as the arguments say; the exit status (0, or non-zero with the reason on standard
// error).
int ExportFromCommandLine(const QStringList& arguments);
