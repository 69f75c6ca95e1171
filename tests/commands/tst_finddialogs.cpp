#include "commands/ui/FindDialogs.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QtTest>

// The dialogs' boxes as the main window reads them.
class TestFindDialogs : public QObject {
    Q_OBJECT

    template <class Dialog>
    static void Click(Dialog& dialog, const char* name)
    {
        auto* box = dialog.template findChild<QAbstractButton*>(QString::fromLatin1(name));
        QVERIFY2(box, name);
        box->click();
    }

private slots:
    void untouchedDialogsSearchExactlyForward()
    {
        TFindDialog find(nullptr);
        TReplaceDialog replace(nullptr);
        QCOMPARE(find.Options(), FindOptions{});
        QCOMPARE(replace.Options(), FindOptions{});
        QVERIFY(FindOptions{}.matchCase);
    }
    void eachBoxSetsItsOption_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("whole word") << QStringLiteral("WholeWord");
        QTest::newRow("match case") << QStringLiteral("MatchCase");
        QTest::newRow("wrap around") << QStringLiteral("WrapAround");
        QTest::newRow("regular expression") << QStringLiteral("RegularExpression");
        QTest::newRow("up") << QStringLiteral("Up");
    }
    void eachBoxSetsItsOption()
    {
        QFETCH(QString, box);
        auto expected = [&](FindOptions o) {
            if (box == QLatin1String("WholeWord"))
                o.wholeWord = true;
            else if (box == QLatin1String("MatchCase"))
                o.matchCase = false;
            else if (box == QLatin1String("WrapAround"))
                o.wrapAround = true;
            else if (box == QLatin1String("RegularExpression"))
                o.regex = true;
            else
                o.up = true;
            return o;
        };
        TFindDialog find(nullptr);
        Click(find, box.toLatin1().constData());
        QCOMPARE(find.Options(), expected({}));
        TReplaceDialog replace(nullptr);
        auto* button = replace.findChild<QAbstractButton*>(box);
        if (box == QLatin1String("Up")) {
            QVERIFY(!button); // Replace goes forward only
            return;
        }
        button->click();
        QCOMPARE(replace.Options(), expected({}));
    }
    void downIsChosenAgainAfterUp()
    {
        TFindDialog find(nullptr);
        Click(find, "Up");
        Click(find, "Down");
        QVERIFY(!find.Options().up);
    }
};

QTEST_MAIN(TestFindDialogs)
#include "tst_finddialogs.moc"
