// The windows in the language this run asks for (QUORLEX_LANG=tr or en, one ctest each): the
// texts a user meets first, and no menu or dialog with two items on one access key.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Translation.h"
#include "tests/support/FormAccess.h"
#include "tests/support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

class TestLanguage : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    bool m_turkish = false;

    QString Pick(const char* en, const char* tr) const { return QString::fromUtf8(m_turkish ? tr : en); }

    // The letter after a lone "&", upper-cased as Qt compares access keys; none: a null QChar.
    static QChar AccessKey(const QString& text)
    {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != u'&')
                continue;
            if (text[i + 1] != u'&')
                return text[i + 1].toUpper();
            ++i;
        }
        return {};
    }

    // "where: X in 'a' and 'b'" for every key two of `texts` share.
    static QStringList Clashes(const QString& where, const QStringList& texts)
    {
        QStringList clashes;
        QHash<QChar, QString> seen;
        for (const QString& text : texts) {
            const QChar key = AccessKey(text);
            if (key.isNull())
                continue;
            if (seen.contains(key))
                clashes << QStringLiteral("%1: %2 in '%3' and '%4'").arg(where, key, seen[key], text);
            seen.insert(key, text);
        }
        return clashes;
    }

    static QStringList MenuClashes(QMenu* menu, const QString& where)
    {
        QStringList texts;
        QStringList clashes;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || !a->isVisible())
                continue;
            texts << a->text();
            if (a->menu())
                clashes << MenuClashes(a->menu(), where + u'>' + a->text());
        }
        return Clashes(where, texts) + clashes;
    }

    // The save prompt as it shows: title and buttons, closed again at once.
    QStringList SavePromptShown()
    {
        QStringList shown;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll.stop();
            shown << box->windowTitle();
            for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                shown << (box->button(b) ? box->button(b)->text() : QString());
            box->reject();
        });
        poll.start();
        QtDialogs().AskSave(nullptr, QStringLiteral("?"));
        return shown;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("QUORLEX_HOME", m_home.path().toLocal8Bit());
        m_turkish = qgetenv("QUORLEX_LANG") == "tr";
        QCOMPARE(TurkishWanted(), m_turkish);
        QVERIFY(InstallTranslations(*QCoreApplication::instance()));
    }

    void textsShown_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");
        auto dialogs = std::make_shared<ScriptedDialogs>();
        TAppForm form(dialogs);
        const struct {
            const char* menu;
            const char* en;
            const char* tr;
        } menus[] = {{"File1", "&File", "&Dosya"},       {"Edit1", "&Edit", "Dü&zen"},
                     {"View1", "&View", "&Görünüm"},     {"Options1", "&Options", "&Seçenekler"},
                     {"Extra1", "E&xtra!", "E&kstra!"},  {"Help1", "&Help", "&Yardım"}};
        for (const auto& m : menus)
            QTest::newRow(m.menu) << form.findChild<QMenu*>(QString::fromLatin1(m.menu))->menuAction()->text()
                                  << Pick(m.en, m.tr);
        QTest::newRow("Save As") << Act(form, "FileSaveAsItem")->text() << Pick("Save &As...", "&Farklı Kaydet...");
        QTest::newRow("Select All") << Act(form, "EditSelectAll1")->text() << Pick("Select &All", "&Tümünü Seç");
        QTest::newRow("Exit") << Act(form, "FileExitItem")->text() << Pick("E&xit", "&Çıkış");
        QTest::newRow("hint") << Act(form, "FileNew1")->statusTip()
                              << Pick("Create a new file", "Yeni bir dosya oluştur");
        QTest::newRow("Find dialog") << FindDialogOf(form).windowTitle() << Pick("Find", "Bul");

        const QStringList prompt = SavePromptShown();
        const char* const promptRows[] = {"save prompt title", "Yes", "No", "Cancel"};
        const char* const promptEn[] = {"Confirmation", "&Yes", "&No", "Cancel"};
        const char* const promptTr[] = {"Onay", "&Evet", "&Hayır", "İptal"};
        for (int i = 0; i < 4; ++i)
            QTest::newRow(promptRows[i]) << prompt.value(i) << Pick(promptEn[i], promptTr[i]);

        form.Document().SetWholeText("x");
        dialogs->saveAnswers.push_back(IDialogs::Answer::Cancel);
        Act(form, "FileNew1")->trigger();
        QTest::newRow("save prompt text") << dialogs->prompts.value(0)
                                          << Pick("Do you want to save the current file?",
                                                  "Geçerli dosyayı kaydetmek istiyor musunuz?");
        QTest::newRow("modified") << form.findChild<QLabel*>(QStringLiteral("Panel1"))->text()
                                  << Pick("Modified", "Değiştirildi");

        FindDialogOf(form).findChild<QLineEdit*>(QStringLiteral("FindText"))->setText(QStringLiteral("absent"));
        FindDialogOf(form).findChild<QPushButton*>(QStringLiteral("FindNext"))->click();
        QTest::newRow("not found") << dialogs->informations.value(0)
                                   << Pick("Search String Not Found!", "Aranan Metin Bulunamadı!");

        QTemporaryDir folder;
        dialogs->saveAnswers.push_back(IDialogs::Answer::No);
        dialogs->openNames.push_back(folder.path());
        Act(form, "FileOpen1")->trigger();
        QTest::newRow("error box") << dialogs->errors.value(0)
                                   << (m_turkish ? QStringLiteral("Dosya açılamıyor \"%1\". Olağan bir dosya değil.")
                                                 : QStringLiteral("Cannot open file \"%1\". Not a regular file."))
                                          .arg(folder.path());
        QTest::newRow("nothing unexpected") << QString::number(dialogs->unexpected) << QStringLiteral("0");
    }
    void textsShown()
    {
        QFETCH(QString, shown);
        QFETCH(QString, expected);
        QCOMPARE(shown, expected);
    }

    void noTwoItemsShareAnAccessKey()
    {
        TAppForm form(std::make_shared<ScriptedDialogs>());
        QStringList bar;
        QStringList clashes;
        for (QAction* a : form.menuBar()->actions()) {
            bar << a->text();
            clashes << MenuClashes(a->menu(), a->text());
        }
        clashes << Clashes(QStringLiteral("menu bar"), bar);
        for (QDialog* dialog : {static_cast<QDialog*>(&FindDialogOf(form)), static_cast<QDialog*>(&ReplaceDialogOf(form))}) {
            QStringList texts;
            for (auto* b : dialog->findChildren<QAbstractButton*>())
                texts << b->text();
            for (auto* l : dialog->findChildren<QLabel*>())
                texts << l->text();
            clashes << Clashes(dialog->windowTitle(), texts);
        }
        QCOMPARE(clashes, QStringList());
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
