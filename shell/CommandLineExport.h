#pragma once
// pathloom --export OUT DOCUMENT [--scale S]: the graph written as a picture (.png, .svg, .pdf) or
// as data (.graphml, .dot, .csv) without showing a window, for scripts.

#include <QStringList>

// True when the arguments ask for an export (the program then needs no display).
bool AsksForExport(int argc, char** argv);

// Exports as the arguments say; the exit status (0, or 1 with the reason on standard error).
int ExportFromCommandLine(const QStringList& arguments);
