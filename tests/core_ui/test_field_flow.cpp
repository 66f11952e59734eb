#include "core/entry_cycle.h"
#include "core_ui/field_flow.h"
#include "core_ui/screen_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace stokara;
using core_ui::Via;

// What every entry screen shares: Enter and leaving a field, date fields, and
// the cycle that decides what a Save writes.
class TestFieldFlow : public QObject {
    Q_OBJECT

    struct Form {
        QWidget widget;
        QLineEdit* a;
        QLineEdit* b;
        QLineEdit* c;
        QPushButton* save;
        core_ui::FieldFlow* flow;
        Form() {
            auto* layout = new QVBoxLayout(&widget);
            a = new QLineEdit(&widget);
            b = new QLineEdit(&widget);
            c = new QLineEdit(&widget);
            save = new QPushButton(QStringLiteral("Save"), &widget);
            for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b),
                               static_cast<QWidget*>(c), static_cast<QWidget*>(save)})
                layout->addWidget(w);
            flow = new core_ui::FieldFlow(&widget);
            widget.show();
            QApplication::setActiveWindow(&widget);
        }
    };

private slots:
    void typedDateIsDayMonthYear() {
        QLineEdit field;
        core_ui::setupDateField(&field, QDate());
        QCOMPARE(field.displayText(), QStringLiteral("__/__/____"));
        field.show();
        field.setFocus();
        field.home(false);
        QTest::keyClicks(&field, QStringLiteral("03042024"));
        QCOMPARE(core_ui::dateFieldValue(&field), std::optional<QDate>(QDate(2024, 4, 3)));
        // Half typed is no date, not a guess.
        core_ui::setDateField(&field, QDate());
        field.home(false);
        QTest::keyClicks(&field, QStringLiteral("0304"));
        QVERIFY(!core_ui::dateFieldValue(&field).has_value());
    }

    void enterRunsTheHandlerOnceAndMoves() {
        Form f;
        QList<Via> calls;
        bool accept = false;
        f.flow
            ->add(f.a,
                  [&](Via via) {
                      calls << via;
                      return accept;
                  })
            .add(f.b)
            .add(f.c);
        f.a->setFocus();
        QTest::keyClick(f.a, Qt::Key_Return);
        QVERIFY(f.a->hasFocus()); // a refusing handler keeps the focus
        accept = true;
        QTest::keyClick(f.a, Qt::Key_Enter); // the keypad's Enter too
        QVERIFY(f.b->hasFocus());
        // The move that Enter made is not a second, leaving run.
        QCOMPARE(calls, (QList<Via>{Via::Enter, Via::Enter}));
        QTest::keyClick(f.b, Qt::Key_Return);
        QVERIFY(f.c->hasFocus());
    }

    void leavingByMouseOrTabRunsTheHandler() {
        Form f;
        QList<Via> calls;
        f.flow->add(f.a, [&](Via via) {
            calls << via;
            return true;
        });
        f.a->setFocus();
        f.c->setFocus(Qt::MouseFocusReason);
        QCOMPARE(calls, QList<Via>{Via::Leave});
        // A moveFocus() by the screen itself is not the operator leaving.
        f.flow->moveFocus(f.a);
        f.flow->moveFocus(f.b);
        QCOMPARE(calls.size(), 1);
    }

    void enterSkipsHiddenAndDisabledAndPressesButtons() {
        Form f;
        f.flow->add(f.a).add(f.b).add(f.c).add(f.save);
        QSignalSpy clicked(f.save, &QPushButton::clicked);
        f.b->setEnabled(false);
        f.c->hide();
        f.a->setFocus();
        QTest::keyClick(f.a, Qt::Key_Return);
        QVERIFY(f.save->hasFocus());
        QCOMPARE(clicked.count(), 0);
        QTest::keyClick(f.save, Qt::Key_Return);
        QCOMPARE(clicked.count(), 1);
    }

    // The save of an entry screen: an insert, or the update of exactly the entry
    // that was loaded; a vanished entry is never reported as saved.
    void entryCycle_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("written");
        QTest::newRow("new entry") << QStringList{} << int(core::WriteOutcome::Inserted) << "new";
        QTest::newRow("loaded, no F6: a new entry")
            << QStringList{"load 7"} << int(core::WriteOutcome::Inserted) << "new";
        QTest::newRow("F6 corrects the loaded entry")
            << QStringList{"load 7", "F6"} << int(core::WriteOutcome::Updated) << "7";
        QTest::newRow("the last loaded entry, not an earlier one")
            << QStringList{"load 7", "load 9", "F6"} << int(core::WriteOutcome::Updated) << "9";
        QTest::newRow("F6 with nothing loaded")
            << QStringList{"F6"} << int(core::WriteOutcome::NothingLoaded) << "";
        QTest::newRow("Clear after F6 leaves correction")
            << QStringList{"load 7", "F6", "clear"} << int(core::WriteOutcome::Inserted) << "new";
        QTest::newRow("deleted meanwhile")
            << QStringList{"load 3", "F6", "gone"} << int(core::WriteOutcome::Gone) << "";
        QTest::newRow("a master corrects what it loads")
            << QStringList{"master 5"} << int(core::WriteOutcome::Updated) << "5";
    }
    void entryCycle() {
        QFETCH(QStringList, steps);
        QFETCH(int, outcome);
        QFETCH(QString, written);
        core::EntryCycle cycle;
        bool gone = false;
        for (const QString& s : steps) {
            if (s.startsWith(QLatin1String("load ")))
                cycle.loaded(s.mid(5).toInt());
            else if (s.startsWith(QLatin1String("master ")))
                cycle.loaded(s.mid(7).toInt(), true);
            else if (s == QLatin1String("F6"))
                cycle.startCorrection();
            else if (s == QLatin1String("clear"))
                cycle.reset();
            else if (s == QLatin1String("gone"))
                gone = true;
        }
        QString wrote;
        const auto result = cycle.save([&] { wrote = QStringLiteral("new"); },
                                       [&](const QVariant& key) {
                                           if (gone)
                                               return false;
                                           wrote = key.toString();
                                           return true;
                                       });
        QCOMPARE(int(result), outcome);
        QCOMPARE(wrote, written);
        // Whatever happened, the next Save is a new entry unless F6 is pressed again.
        QVERIFY(!cycle.correcting() || result == core::WriteOutcome::NothingLoaded);
    }
};

QTEST_MAIN(TestFieldFlow)
#include "test_field_flow.moc"
