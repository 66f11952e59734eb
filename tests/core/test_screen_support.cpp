#include "core/screen_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace stokara::core;

// The date field and the Enter key, as every entry screen uses them.
class TestScreenSupport : public QObject {
    Q_OBJECT

    struct Form {
        QWidget widget;
        QLineEdit* a;
        QLineEdit* b;
        QLineEdit* c;
        QPushButton* save;
        EnterChain* chain;
        Form() {
            auto* layout = new QVBoxLayout(&widget);
            a = new QLineEdit(&widget);
            b = new QLineEdit(&widget);
            c = new QLineEdit(&widget);
            save = new QPushButton(QStringLiteral("Save"), &widget);
            for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b),
                               static_cast<QWidget*>(c), static_cast<QWidget*>(save)})
                layout->addWidget(w);
            chain = makeEnterChain(&widget);
            widget.show();
            QApplication::setActiveWindow(&widget);
        }
    };

private slots:
    void dateField_data() {
        QTest::addColumn<QDate>("initial");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("hasValue");
        QTest::newRow("today") << QDate(2024, 4, 15) << "15/04/2024" << true;
        QTest::newRow("3 April") << QDate(2024, 4, 3) << "03/04/2024" << true;
        QTest::newRow("no date shows the empty mask") << QDate() << "__/__/____" << false;
    }
    void dateField() {
        QFETCH(QDate, initial);
        QFETCH(QString, shown);
        QFETCH(bool, hasValue);
        QLineEdit field;
        setupDateField(&field, initial);
        QCOMPARE(field.displayText(), shown);
        QCOMPARE(dateFieldValue(&field).has_value(), hasValue);
        if (hasValue)
            QCOMPARE(*dateFieldValue(&field), initial);
    }

    void typedDateIsDayMonthYear() {
        QLineEdit field;
        setupDateField(&field, QDate());
        field.show();
        field.setFocus();
        field.home(false);
        QTest::keyClicks(&field, QStringLiteral("03042024"));
        QCOMPARE(field.displayText(), QStringLiteral("03/04/2024"));
        QCOMPARE(dateFieldValue(&field), std::optional<QDate>(QDate(2024, 4, 3)));
        // Half typed is no date, not a guess.
        setDateField(&field, QDate());
        field.home(false);
        QTest::keyClicks(&field, QStringLiteral("0304"));
        QVERIFY(!dateFieldValue(&field).has_value());
    }

    void enterMovesInOrderAndRunsTheCheck() {
        Form f;
        int checks = 0;
        bool accept = false;
        f.chain
            ->add(f.a,
                  [&] {
                      ++checks;
                      return accept;
                  })
            .add(f.b)
            .add(f.c);
        f.a->setFocus();
        QTest::keyClick(f.a, Qt::Key_Return);
        QCOMPARE(checks, 1);
        QVERIFY(f.a->hasFocus()); // a refused check keeps the focus
        accept = true;
        QTest::keyClick(f.a, Qt::Key_Enter); // the keypad's Enter too
        QCOMPARE(checks, 2);
        QVERIFY(f.b->hasFocus());
        QTest::keyClick(f.b, Qt::Key_Return);
        QVERIFY(f.c->hasFocus());
    }

    void enterSkipsHiddenAndDisabledFields() {
        Form f;
        f.chain->add(f.a).add(f.b).add(f.c).add(f.save);
        f.b->setEnabled(false);
        f.c->hide();
        f.a->setFocus();
        QTest::keyClick(f.a, Qt::Key_Return);
        QVERIFY(f.save->hasFocus());
    }

    void enterOnAButtonPressesIt() {
        Form f;
        f.chain->add(f.c).add(f.save);
        QSignalSpy clicked(f.save, &QPushButton::clicked);
        f.c->setText(QStringLiteral("x"));
        f.c->setFocus();
        QTest::keyClick(f.c, Qt::Key_Return);
        QVERIFY(f.save->hasFocus());
        QCOMPARE(clicked.count(), 0);
        QTest::keyClick(f.save, Qt::Key_Return);
        QCOMPARE(clicked.count(), 1);
    }
};

QTEST_MAIN(TestScreenSupport)
#include "test_screen_support.moc"
