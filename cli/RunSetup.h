#pragma once
// From the command line to the settings of a run on a loaded document.

#include "RunOptions.h"
#include "RunSettings.h"

#include <optional>

class clsGraph;
class clsLA;

// The settings the command line asks for on this document: its stored ones (every one the
// default of its option) with the options over them, the method's nodes and files found. Not yet
// checked by the rules of a run. Raises UsageError for a node the document does not have or a
// missing path file.
RunSettings RequestedSettings(const clsLA& la, const RunOptions& options);

// Gives the links the lengths of --length, in the order given. Raises UsageError for a node or a
// link the document does not have.
void ApplyLengths(clsGraph& graph, const RunOptions& options);

// RequestedSettings checked by the rules every run obeys (UsageError with their message), with
// the document's own settings brought up to date; gives the settings of the run, if one was asked
// for. A sampled run keeps its method, nodes and counts out of the document, whose method it
// cannot name.
std::optional<RunSettings> ApplySettings(clsLA& la, const RunOptions& options);
