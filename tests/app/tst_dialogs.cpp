// The real message boxes behind the dialog seam.
#include "app/Dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <functional>

class TestDialogs : public QObject {
    Q_OBJECT

    enum class Box { Error, Notice, Information, SavePrompt };
    struct Shown {
        QString title;
        QString text;
        Qt::TextFormat format = Qt::AutoText;
    };

    // What the message box that `show` opens holds; the box is closed again at once.
    Shown ShownBy(const std::function<void()>& show)
    {
        Shown shown;
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll.stop();
            seen = true;
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            shown = {box->windowTitle(), label ? label->text() : QString(),
                     label ? label->textFormat() : Qt::AutoText};
            box->reject();
        });
        poll.start();
        show();
        poll.stop();
        if (!seen)
            shown.title = QStringLiteral("<no box was shown>");
        return shown;
    }

private slots:
    // Script markers and file names are the normal content of these boxes: read as HTML,
    // "<i> does not exist." turned italic and lost its marker, "<title> ..." showed nothing.
    void everyBoxShowsItsTextPlain_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("error box") << int(Box::Error) << QStringLiteral("Quorlex - a.txt")
                                   << QStringLiteral("'<b>5' is not a valid integer value.");
        QTest::newRow("notice") << int(Box::Notice) << QStringLiteral("Quorlex") << QStringLiteral("<i> does not exist.");
        QTest::newRow("notice of a bare tag") << int(Box::Notice) << QStringLiteral("Quorlex")
                                              << QStringLiteral("<title> does not exist.");
        QTest::newRow("information") << int(Box::Information) << QStringLiteral("Information")
                                     << QStringLiteral("<u>Search String Not Found!");
        QTest::newRow("save prompt") << int(Box::SavePrompt) << QStringLiteral("Confirmation")
                                     << QStringLiteral("Do you want to save /tmp/<b>x</b>.txt?");
    }
    void everyBoxShowsItsTextPlain()
    {
        QFETCH(int, box);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QtDialogs dialogs;
        const Shown shown = ShownBy([&] {
            switch (Box(box)) {
            case Box::Error:
                dialogs.Error(nullptr, title, text);
                break;
            case Box::Notice:
                dialogs.Notice(nullptr, title, text);
                break;
            case Box::Information:
                dialogs.Information(nullptr, text);
                break;
            case Box::SavePrompt:
                dialogs.AskSave(nullptr, text);
                break;
            }
        });
        QCOMPARE(shown.title, title);
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.format, Qt::PlainText);
    }

    // Enter gives the default: No where Yes would throw away the user's changes.
    void enterAnswersTheQuestionsDefault()
    {
        QtDialogs dialogs;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isVisible())
                QTest::keyClick(box, Qt::Key_Return);
        });
        poll.start();
        for (const auto answer : {IDialogs::Answer::Yes, IDialogs::Answer::No})
            QCOMPARE(dialogs.AskYesNo(nullptr, QStringLiteral("Quorlex"), QStringLiteral("a.txt was changed."), answer),
                     answer);
    }

    void closingTheSavePromptCancels()
    {
        QtDialogs dialogs;
        IDialogs::Answer answer = IDialogs::Answer::Yes;
        ShownBy([&] { answer = dialogs.AskSave(nullptr, QStringLiteral("Do you want to save the current file?")); });
        QCOMPARE(answer, IDialogs::Answer::Cancel);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
