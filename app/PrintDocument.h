#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <string>

class QPrinter;

// Prints `count` lines, line(i) for each, every one followed by a line break, on `printer`
// in `font` and `ink`, as a job called `title`. A font given in pixels keeps its size on paper:
// its pixel height is scaled from the screen's resolution to the printer's.
// Throws on any failure (the printer refused the job or a page); a job that had begun is
// cancelled first.
void PrintLines(QPrinter& printer, const QFont& font, const QColor& ink, const QString& title, int count,
                const std::function<std::string(int)>& line);
