#pragma once
// What pathloom-run takes as a document: a Pathloom document, or a graph made elsewhere, which it
// imports by its extension.

#include <string>
#include <vector>

class clsLA;

// ".graphml", ".xml", ".dot", ".gv" and ".csv" are imported (the import's notes on what it left
// out or changed come back one line each), anything else loads as a Pathloom document. Raises
// PathloomError as the load or the import does.
std::vector<std::string> OpenDocument(clsLA& la, const std::string& fileName);

// The document's bytes for runs that each need their own copy: a document file as it is, an
// imported graph as a document.
std::string DocumentBytesOf(const std::string& fileName, std::vector<std::string>& notes);
