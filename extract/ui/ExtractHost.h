#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

// What the Extract Text window needs from the window that owns the document: the document's
// lines, a place for the result, its notices and its error handling.
class ExtractHost {
public:
    virtual ~ExtractHost() = default;

    // Runs a handler's body; an exception ends it and shows the standard error box.
    virtual void RunGuarded(const std::function<void()>& body) = 0;
    // The document, a line at a time: a run reads a few lines, and a copy of all of a big
    // document would cost more than the whole run.
    virtual int DocumentLineCount() const = 0;
    virtual std::string DocumentLine(int i) const = 0;
    // Makes the file at `path` the document.
    virtual void LoadTextFile(const QString& path) = 0;
    // A notice over `over`, under the owner's title.
    virtual void ShowNotice(QWidget* over, const QString& text) = 0;

protected:
    ExtractHost() = default;
    ExtractHost(const ExtractHost&) = default;
    ExtractHost& operator=(const ExtractHost&) = default;
};
