#pragma once

#include "cli/Options.h"
#include "extract/ExtractionScript.h"

#include <QString>

#include <string>
#include <vector>

namespace cli {

// What a command needs beside the document, read before it.
struct CommandInputs {
    std::vector<std::string> words; // the command's own words as the document's bytes
    std::string script;             // extract: the script, as its file holds it
    // extract: where $GETURL pages go, and how they are fetched; notices of the run.
    QString fetchFile;
    FetchOperation fetch;
    NoticeOperation notice;
};

// The text the editor's command makes of `document` (the editor's bytes: CR LF breaks), on
// the whole document with nothing selected. Throws QuorlexError as the command does.
std::string RunCommand(const Request& request, const CommandInputs& inputs, std::string document);

} // namespace cli
