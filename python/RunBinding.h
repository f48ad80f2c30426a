#pragma once
// Runs and sessions of the Python module: on a document the module holds, with the runner's own
// options, report, history and a judge written in Python.

#include "RunOptions.h"
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
// Raises an exception taken before (PendingInterrupt's, a judge's) as it was.
[[noreturn]] void Reraise(const pybind11::object& taken);

// The options that keywords give, as pathloom-run's words would: a keyword is an option's name
// with "_" for "-" (a setting's Python name), True the option alone, None and False leave it
// out, a list, tuple, range or array is swept (--sweep), any other value is its text (str()).
// Raises UsageError (ValueError) with the runner's message.
RunOptions OptionsOf(const pybind11::dict& keywords, const std::vector<std::string>& documents);
