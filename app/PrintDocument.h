#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <string>

class QPrinter;

// Names the job after the document before the print dialog shows, so that printing to a file
// proposes "a.pdf" for "a.txt". A file name that was proposed for the previous document
// follows the new one, in the same folder; a name the user chose stays.
void NameJobAfterDocument(QPrinter& printer, const QString& documentName);

// Prints `count` lines, line(i) for each, every one followed by a line break, on `printer`
// in `font` and `ink`, as a job called `title`. A font given in pixels keeps its size on paper:
// its pixel height is scaled from the screen's resolution to the printer's.
// Throws on any failure (the printer refused the job or a page); a job that had begun is
// cancelled first.
void PrintLines(QPrinter& printer, const QFont& font, const QColor& ink, const QString& title, int count,
                const std::function<std::string(int)>& line);
