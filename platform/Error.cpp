#include "platform/Error.h"

#include <QCoreApplication>

#include <cstring>

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

std::string Translated(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source).toStdString();
}

std::string SystemReason(int err) { return err == 0 ? Translated("FileError", QT_TRANSLATE_NOOP("FileError", "Unknown error")) : std::string(std::strerror(err)); }

std::string FileErrorText(std::string_view what, const std::string& path, int err)
{
    return Translated("FileError", std::string(what).c_str()) + " \"" + path + "\". " + SystemReason(err);
}
