// Caption languages as the operator meets them: the screens' labels in the
// language of the settings, the caption files the program ships, a shop's own
// copy of a file, and screens that stay readable with the larger captions.
#include "presentation/caption_languages.h"

#include "core/caption_language.h"
#include "core_ui/screen_support.h"
#include "masters/register_screens.h"
#include "support/test_session.h"
#include "transactions/register_screens.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace stokara;
using presentation::CaptionLanguage;

namespace {

// A screen as the menu opens it, with the language number of the settings.
std::unique_ptr<QWidget> openScreen(test::TestSession& t, const QString& name,
                                    const QString& language) {
    t.session.languageFlags = core::languageFlagsFor(language);
    t.session.captionApplier = presentation::applyCaptions;
    core_ui::ScreenRegistry registry;
    masters::registerScreens(registry);
    transactions::registerScreens(registry);
    return std::unique_ptr<QWidget>(registry.create(name, t.session));
}

QLabel* label(QWidget* screen, const QString& name) {
    auto* l = screen->findChild<QLabel*>(name);
    if (!l)
        qFatal("no label %s", qPrintable(name));
    return l;
}

} // namespace

class TestCaptionLanguages : public QObject {
    Q_OBJECT
private slots:
    // Hindi goes to the masters and money screens, Punjabi to the masters
    // only, the third language everywhere; no or an unknown number is English.
    void screensShowTheLanguageOfTheSettings_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("family"); // empty: the screen's own font
        QTest::addColumn<int>("size");
        const QString deva = "Noto Sans Devanagari", guj = "Noto Sans Gujarati",
                      guru = "Noto Sans Gurmukhi";
        QTest::newRow("English") << "masparty"
                                 << "1"
                                 << "LblAddress"
                                 << "Address"
                                 << "" << 0;
        QTest::newRow("no language") << "masparty"
                                     << ""
                                     << "LblAddress"
                                     << "Address"
                                     << "" << 0;
        QTest::newRow("unknown number") << "masparty"
                                        << "7"
                                        << "LblCity"
                                        << "City"
                                        << "" << 0;
        QTest::newRow("Hindi") << "masparty"
                               << "2"
                               << "LblAddress"
                               << "पता" << deva << 20;
        QTest::newRow("Gujarati") << "masparty"
                                  << "3"
                                  << "LblCity"
                                  << "શહેર" << guj << 20;
        QTest::newRow("Punjabi") << "masparty"
                                 << "4"
                                 << "LblAddress"
                                 << "ਪਤਾ" << guru << 15;
        QTest::newRow("Hindi sale") << "FrmItemsale"
                                    << "2"
                                    << "lblqty"
                                    << "मात्रा" << deva << 20;
        QTest::newRow("Punjabi sale stays English") << "FrmItemsale"
                                                    << "4"
                                                    << "lblqty"
                                                    << "Qty"
                                                    << "" << 0;
        QTest::newRow("Hindi vendor stays English") << "FrmVendor"
                                                    << "2"
                                                    << "LblPhone"
                                                    << "Phone"
                                                    << "" << 0;
        QTest::newRow("Gujarati vendor") << "FrmVendor"
                                         << "3"
                                         << "LblPhone"
                                         << "ફોન નં." << guj << 20;
        QTest::newRow("Gujarati day book") << "FrmDayBook"
                                           << "3"
                                           << "LblVType"
                                           << "વાઉચર પ્રકાર" << guj << 20;
    }
    void screensShowTheLanguageOfTheSettings() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, screen);
        QFETCH(QString, language);
        QFETCH(QString, labelName);
        QFETCH(QString, text);
        QFETCH(QString, family);
        QFETCH(int, size);
        test::TestSession t;
        auto w = openScreen(t, screen, language);
        QLabel* l = label(w.get(), labelName);
        QCOMPARE(l->text(), text);
        if (family.isEmpty()) {
            QCOMPARE(l->font(), w->font());
        } else {
            QCOMPARE(l->font().families().value(0), family);
            QCOMPARE(l->font().pointSize(), size);
            QVERIFY(l->font().bold());
        }
        QVERIFY(t.dialogs.shown.isEmpty());
    }

    // The collection-summary labels are smaller; a name given twice ends with
    // its later caption; a label name on a field never changes the field.
    void captionsOnAScreenOfTheWiderSuite_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("summarySize");
        QTest::newRow("Hindi") << int(CaptionLanguage::Hindi) << 20 << 15;
        QTest::newRow("Gujarati") << int(CaptionLanguage::Gujarati) << 20 << 15;
        QTest::newRow("Punjabi") << int(CaptionLanguage::Punjabi) << 15 << 15;
    }
    void captionsOnAScreenOfTheWiderSuite() {
        QFETCH(int, language);
        QFETCH(int, size);
        QFETCH(int, summarySize);
        const auto lang = CaptionLanguage(language);
        QWidget screen;
        const QStringList summary = {
            "LblSiftTotal",  "LblTotalMember", "LblAverageFat", "Label6",        "Label5",
            "LblSiftMember", "LblLeftMember",  "LblSifAmount",  "LblSnfAverage", "LblCanLabel"};
        for (const QString& name : summary + QStringList{"LblDate", "LblSummary"})
            (new QLabel(QString("English"), &screen))->setObjectName(name);
        auto* field = new QLineEdit(QString("typed"), &screen);
        field->setObjectName("lblname");
        const presentation::CaptionSet set = presentation::loadCaptionSet(lang, QString());
        presentation::applyCaptionSet(&screen, set, presentation::captionStyle(lang));
        for (const QString& name : summary)
            QCOMPARE(label(&screen, name)->font().pointSize(), summarySize);
        QCOMPARE(label(&screen, "LblDate")->font().pointSize(), size);
        QCOMPARE(field->text(), QString("typed"));
        QCOMPARE(field->font(), screen.font());
        QStringList summaries; // LblSummary is in the Punjabi set only, three times
        for (const presentation::Caption& c : set)
            if (c.name == "LblSummary")
                summaries << c.text;
        QCOMPARE(summaries.size(), lang == CaptionLanguage::Punjabi ? 3 : 0);
        QCOMPARE(label(&screen, "LblSummary")->text(),
                 summaries.isEmpty() ? QString("English") : summaries.last());
    }

    // The files the program ships: Hindi and the third language name the same
    // fifty labels in the same order; Punjabi has all of them among its 110.
    void shippedSetsAreComplete() {
        const auto names = [](CaptionLanguage l) {
            QStringList out;
            for (const presentation::Caption& c : presentation::loadCaptionSet(l, QString()))
                out << c.name;
            return out;
        };
        const QStringList hindi = names(CaptionLanguage::Hindi);
        QCOMPARE(hindi.size(), 50);
        QCOMPARE(QSet<QString>(hindi.begin(), hindi.end()).size(), 50);
        QCOMPARE(names(CaptionLanguage::Gujarati), hindi);
        const QStringList punjabi = names(CaptionLanguage::Punjabi);
        QCOMPARE(punjabi.size(), 110);
        QCOMPARE(punjabi.mid(0, 50), hindi);
    }

    // A shop's own caption file in its data folder is read instead of the
    // built-in one; one that has nothing usable leaves English.
    void aShopsOwnCaptionFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("city");
        QTest::newRow("own wording, blanks between")
            << QByteArray("# ours\n\n  LblAddress   गाँव का पता \r\nLblCity\n") << "गाँव का पता"
            << "City";
        QTest::newRow("nothing usable") << QByteArray("LblAddress\n#LblCity\tx\n") << "Address"
                                        << "City";
    }
    void aShopsOwnCaptionFile() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QByteArray, content);
        QFETCH(QString, address);
        QFETCH(QString, city);
        test::TestSession t;
        QDir(t.dataDir.path()).mkdir("captions");
        QFile file(t.dataDir.filePath("captions/hindi.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        auto w = openScreen(t, "masparty", "2");
        QCOMPARE(label(w.get(), "LblAddress")->text(), address);
        QCOMPARE(label(w.get(), "LblCity")->text(), city);
    }

    // With the larger captions every label still shows whole, beside its field.
    void labelsKeepTheirRoom_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("language");
        for (const char* screen : {"masparty", "frmmasitem", "FrmItemsale", "FrmDayBook"})
            for (const char* language : {"2", "3", "4"})
                QTest::addRow("%s %s", screen, language) << screen << language;
    }
    void labelsKeepTheirRoom() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, screen);
        QFETCH(QString, language);
        test::TestSession t;
        auto w = openScreen(t, screen, language);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        for (QLabel* l : w->findChildren<QLabel*>()) {
            if (!l->isVisible() || l->text().isEmpty())
                continue;
            QVERIFY2(l->width() >= l->sizeHint().width() && l->height() >= l->sizeHint().height(),
                     qPrintable(l->objectName() + " is cut: " + l->text()));
            QWidget* buddy = l->buddy();
            if (buddy && buddy->isVisible())
                QVERIFY2(!QRect(l->mapTo(w.get(), QPoint()), l->size())
                              .intersects(QRect(buddy->mapTo(w.get(), QPoint()), buddy->size())),
                         qPrintable(l->objectName() + " overlaps its field"));
        }
    }
};

QTEST_MAIN(TestCaptionLanguages)
#include "test_caption_languages.moc"
