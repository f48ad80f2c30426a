#pragma once
// Runs and sessions of the Python module: on a document the module holds, with the runner's own
// options, report, history and a judge written in Python.

#include "clsLA.h"

#include <pybind11/pybind11.h>
#include <string>

// A document as Python holds it: the graph, its ranges and its stored settings.
struct Document {
    clsLA la;
};

void BindRuns(pybind11::module_& module, pybind11::class_<Document>& document);
