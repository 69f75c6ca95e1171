#include "commands/KeyPressSimulator.h"

#include "document/LineText.h"

#include <QCoreApplication>

namespace simulator {

std::string RefusalNotice()
{
    return QT_TRANSLATE_NOOP("KeyPressSimulator", "Open a text file first.\r"
           "Then click KeyPress Simulator and press random keys.\r"
           "And let Quorlex write the text correctly.");
}

bool Refuses(std::string_view document) { return TrimBoth(document).empty(); }

std::optional<char> TakeNext(std::string_view stored, std::int64_t& pos)
{
    if (pos < 1 || pos > static_cast<std::int64_t>(stored.size()))
        return std::nullopt;
    const char next = stored[static_cast<std::size_t>(pos - 1)];
    ++pos;
    return next;
}

bool TypesCharacter(int key, Qt::KeyboardModifiers modifiers, QStringView text)
{
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Tab:
        return (modifiers & Qt::ControlModifier) != 0;
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        return !text.isEmpty();
    }
}

} // namespace simulator
