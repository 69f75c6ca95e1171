#include "app/Application.h"

#include "app/about.h"

#include <QApplication>

void SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Quorlex"));
    QApplication::setWindowIcon(ApplicationIcon());
}
