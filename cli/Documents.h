#pragma once
// What each run of a sweep starts from: a document, or a graph made elsewhere, as its bytes.

#include <string>
#include <vector>

class clsLA;

// The document's bytes for runs that each need their own copy: a document file as it is, an
// imported graph as a document.
std::string DocumentBytesOf(const std::string& fileName, std::vector<std::string>& notes);
