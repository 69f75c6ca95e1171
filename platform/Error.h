#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A command's failure: the message (UTF-8) is what the standard error box shows.
class QuorlexError : public std::runtime_error {
public:
    explicit QuorlexError(const std::string& message) : std::runtime_error(message) {}
};

// The user stopped a command at a question (No to overwriting a file): it ends there, and
// no error box is shown.
class CommandCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// The error box appends a full stop unless the message already ends in one or in a
// character that sorts at or below it (so "Printer not found!" stays as it is).
std::string ErrorBoxText(const std::string& message);

// A text the user reads, in the language installed for the windows (QT_TRANSLATE_NOOP marks
// its source); the command-line program installs none, so it reads as written.
std::string Translated(const char* context, const char* source);

// The system's description of an errno value. 0 is no reason at all, and saying "Permission
// denied" or "Success" for it would send the user after the wrong fault.
std::string SystemReason(int err);

// `what` (translated in the "FileError" context) "path". reason: the shape of every file error ("Cannot create file "%s". %s").
std::string FileErrorText(std::string_view what, const std::string& path, int err);
