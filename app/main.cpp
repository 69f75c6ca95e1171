#include "app/MainWindow.h"
#include "app/about.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quorlex"));
    QApplication::setWindowIcon(ApplicationIcon());
    TAppForm form;
    form.show();
    const QStringList arguments = QApplication::arguments().mid(1);
    QTimer::singleShot(0, &form, [&form, arguments] { form.Start(arguments); });
    return QApplication::exec();
}
