#pragma once

#include <string>

// The document a run's result becomes: its lines (a lone CR or LF ends one too), each
// followed by CR LF; nothing for an empty result. A byte 0 stays: the document keeps such
// bytes, and cutting there would drop the rest of the result.
std::string ExtractionDocumentText(std::string result);
