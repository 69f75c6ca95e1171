#pragma once

#include <QString>

#include <functional>
#include <string>

// What the line-parameter dialog needs from the window whose command opened it.
class SeparateHost {
public:
    virtual ~SeparateHost() = default;

    // "separate", "insertbeginning" or "insertend": which command the dialog is shown for.
    virtual QString LineParameterMode() const = 0;
    // The command's operation, with the entered text, on the document.
    virtual void ApplySeparateMode(const std::string& text) = 0;
    // Runs a handler's body; an exception ends it and shows the standard error box.
    virtual void RunGuarded(const std::function<void()>& body) = 0;

protected:
    SeparateHost() = default;
    SeparateHost(const SeparateHost&) = default;
    SeparateHost& operator=(const SeparateHost&) = default;
};
