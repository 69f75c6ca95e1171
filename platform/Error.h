#pragma once

#include <stdexcept>
#include <string>

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
