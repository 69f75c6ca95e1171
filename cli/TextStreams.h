#pragma once

#include "cli/Options.h"
#include "document/TextFile.h"

#include <string>

namespace cli {

// The input as the editor's document holds it after opening the file.
struct InputText {
    std::string document; // every line break CR LF
    FileEncoding encoding;
    bool hadCrLf = false; // the bytes read held at least one CR LF
};

// Reads the request's FILE, or all of standard input, as the editor opens a file. Throws
// QuorlexError.
InputText ReadInput(const Request& request);

// Writes the result to standard output, OUT or back to FILE (atomically: the old file stays
// whole when the write fails). `document` has the editor's CR LF breaks; it is written with LF
// breaks when the request or the input says so, and in the input's encoding unless told
// otherwise. Throws QuorlexError.
void WriteOutput(const Request& request, std::string document, const InputText& input);

// CR LF pairs become LF, in place; a lone CR or LF stays as it is.
void UseLfBreaks(std::string& text);

} // namespace cli
