#include "app/Application.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    SetUpApplication();
    TAppForm form;
    form.show();
    const QStringList arguments = QApplication::arguments().mid(1);
    QTimer::singleShot(0, &form, [&form, arguments] { form.FormShow(arguments); });
    return QApplication::exec();
}
