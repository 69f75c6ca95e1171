#include "extract/ui/ScriptEditor.h"

#include "document/LineText.h"
#include "platform/Cp1254.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>

namespace {

constexpr char16_t kNulPicture = 0x2400;
constexpr char16_t kParagraph = 0x2029;
constexpr char16_t kLineSeparator = 0x2028;

// Byte 0 would end the text in the widget; it is shown as its control picture instead.
QString ToDisplay(std::string_view bytes)
{
    QString text = cp1254::Decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\0'), QChar(kNulPicture));
    return text;
}

// Typed or pasted characters the code page cannot hold become '?' at once, so the script on
// screen is the script that is saved.
QString Sanitized(QString text)
{
    for (QChar& ch : text)
        if (ch != u'\n' && ch != QChar(kNulPicture) && cp1254::FromUnicode(ch.unicode()) < 0)
            ch = u'?';
    return text;
}

} // namespace

ScriptEditor::ScriptEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    connect(this, &QPlainTextEdit::textChanged, this, &ScriptEditor::Change);
}

std::string ScriptEditor::Text() const
{
    // The raw text keeps the block separators as U+2029 (and a no-break space as itself).
    const QString raw = document()->toRawText();
    std::string out;
    out.reserve(static_cast<std::size_t>(raw.size()));
    for (const QChar ch : raw) {
        const char16_t u = ch.unicode();
        if (u == kParagraph || u == kLineSeparator || u == u'\n') {
            out += "\r\n";
        } else if (u == kNulPicture) {
            out += '\0';
        } else {
            const int byte = cp1254::FromUnicode(u);
            out += byte < 0 ? '?' : static_cast<char>(byte);
        }
    }
    return out;
}

void ScriptEditor::SetText(std::string_view bytes)
{
    const std::string text = NormalizeLineBreaks(bytes);
    if (text == Text())
        return;
    setPlainText(ToDisplay(text));
}

int ScriptEditor::Count() const
{
    const std::string text = Text();
    return LineView(text).Count();
}

std::string ScriptEditor::Get(int i) const
{
    const std::string text = Text();
    return std::string(LineView(text).Get(i));
}

void ScriptEditor::keyPressEvent(QKeyEvent* e)
{
    // Shift+Enter would put a line separator inside the line; in a script it is a line break
    // like Enter.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::ShiftModifier)) {
        textCursor().insertBlock();
        return;
    }
    const QString typed = e->text();
    if (!typed.isEmpty() && Sanitized(typed) != typed) {
        textCursor().insertText(Sanitized(typed));
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void ScriptEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    textCursor().insertText(Sanitized(text));
}
