#pragma once
// Runs and sessions of the Python module: on a document the module holds, with the runner's own
// options, report, history and a judge written in Python.

#include "clsLA.h"

#include <pybind11/pybind11.h>
#include <string>
#include <vector>

// A document as Python holds it: the graph, its ranges and its stored settings.
struct Document {
    clsLA la;
    // The links add_link was given no probability for: they share their node's out, and each
    // new link there changes the share.
    std::vector<int32_t> sharedOut;
};

void BindRuns(pybind11::module_& module, pybind11::class_<Document>& document);

// What Python's own handler made of a Ctrl+C that came while the engine worked without the GIL
// (KeyboardInterrupt, unless the program chose otherwise), taken for the caller to raise with
// what the work kept; None when there was none. Called with the GIL.
pybind11::object PendingInterrupt();
