#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

// The Extract Text window's script editor: a plain text edit that speaks the script's bytes
// (Windows-1254, CR LF line breaks) to the rest of the window.
class ScriptEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptEditor(QWidget* parent = nullptr);

    // The whole script, lines joined by CR LF, no break added after the last one.
    std::string Text() const;
    // Lone CR and lone LF become CR LF; nothing happens, and no Change, when that is the
    // text already.
    void SetText(std::string_view bytes);

    // The script's lines (a final line break opens no further line).
    int Count() const;
    std::string Get(int i) const;

signals:
    // Every change of the text: typing, cutting, pasting, undoing, SetText.
    void Change();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
};
