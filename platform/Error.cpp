#include "platform/Error.h"

#include <cstring>

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

std::string SystemReason(int err) { return err == 0 ? std::string("Unknown error") : std::string(std::strerror(err)); }

std::string FileErrorText(std::string_view what, const std::string& path, int err)
{
    return std::string(what) + " \"" + path + "\". " + SystemReason(err);
}
