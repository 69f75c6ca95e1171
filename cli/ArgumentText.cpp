#include "cli/ArgumentText.h"

#include "cli/Options.h"
#include "platform/Utf8Text.h"

#include <QStringDecoder>

namespace cli {

std::string ArgumentBytes(std::string_view typed)
{
    if (auto decoded = utf8text::DecodeIfQualifies(typed); decoded && !decoded->byteOrderMark)
        return std::move(decoded->bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(typed.data(), static_cast<qsizetype>(typed.size())));
    bool ascii = true;
    for (const char c : typed)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!ascii && !utf8.hasError())
        throw UsageError("'" + std::string(typed) + "' holds characters that Windows-1254 cannot hold");
    return std::string(typed);
}

} // namespace cli
