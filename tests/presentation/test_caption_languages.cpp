// The labels of the screens in the language of the settings.
#include "presentation/caption_languages.h"

#include "core/caption_language.h"
#include "core_ui/screen_support.h"
#include "masters/register_screens.h"
#include "support/test_session.h"
#include "transactions/register_screens.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace stokara;
using presentation::CaptionLanguage;

namespace {

void row(const char* name, const char* screen, const char* language, const char* label,
         const char* text, const char* family = "", int size = 0, const char* ownFile = "") {
    QTest::newRow(name) << QString(screen) << QString(language) << QByteArray(ownFile)
                        << QString(label) << QString(text) << QString(family) << size;
}

} // namespace

class TestCaptionLanguages : public QObject {
    Q_OBJECT
private slots:
    // Hindi goes to the masters and money screens, Punjabi to the masters
    // only, the third language everywhere; no or an unknown number is English.
    // A shop's own caption file in its data folder wins over the built-in one.
    void screensShowTheLanguageOfTheSettings_data() {
        for (const char* column : {"screen", "language", "ownFile", "label", "text", "family"})
            column == QByteArray("ownFile") ? QTest::addColumn<QByteArray>(column)
                                            : QTest::addColumn<QString>(column);
        QTest::addColumn<int>("size"); // 0: the screen's own font
        const char *deva = "Noto Sans Devanagari", *guj = "Noto Sans Gujarati";
        row("English", "masparty", "1", "LblAddress", "Address");
        row("none", "masparty", "", "LblAddress", "Address");
        row("unknown", "masparty", "7", "LblCity", "City");
        row("Hindi", "masparty", "2", "LblAddress", "पता", deva, 20);
        row("Gujarati", "masparty", "3", "LblCity", "શહેર", guj, 20);
        row("Punjabi", "masparty", "4", "LblAddress", "ਪਤਾ", "Noto Sans Gurmukhi", 15);
        row("Hindi sale", "FrmItemsale", "2", "lblqty", "मात्रा", deva, 20);
        row("no Punjabi on the sale", "FrmItemsale", "4", "lblqty", "Qty");
        row("no Hindi on vendors", "FrmVendor", "2", "LblPhone", "Phone");
        row("Gujarati everywhere", "FrmDayBook", "3", "LblVType", "વાઉચર પ્રકાર", guj, 20);
        row("own file", "masparty", "2", "LblAddress", "गाँव का पता", deva, 20,
            "#x\n\n  LblAddress  गाँव का पता \r\nLblCity\n");
        row("own file, no caption", "masparty", "2", "LblCity", "City", "", 0, "LblCity\n");
    }
    void screensShowTheLanguageOfTheSettings() {
        STOKARA_REQUIRE_DATABASE();
        QFETCH(QString, screen);
        QFETCH(QString, language);
        QFETCH(QByteArray, ownFile);
        QFETCH(QString, label);
        QFETCH(QString, text);
        QFETCH(QString, family);
        QFETCH(int, size);
        test::TestSession t;
        if (!ownFile.isEmpty()) {
            QDir(t.dataDir.path()).mkdir("captions");
            QFile file(t.dataDir.filePath("captions/hindi.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ownFile) > 0);
        }
        t.session.languageFlags = core::languageFlagsFor(language);
        t.session.captionApplier = presentation::applyCaptions;
        core_ui::ScreenRegistry registry;
        masters::registerScreens(registry);
        transactions::registerScreens(registry);
        std::unique_ptr<QWidget> w(registry.create(screen, t.session));
        auto* l = w->findChild<QLabel*>(label);
        QCOMPARE(l->text(), text);
        QCOMPARE(l->font().families().value(0), family.isEmpty() ? w->font().family() : family);
        QCOMPARE(l->font().pointSize(), size ? size : w->font().pointSize());
        QCOMPARE(l->font().bold(), size != 0);
    }

    // On a screen of the wider suite: the collection-summary labels are
    // smaller, a name given twice ends with its later caption, and labels or
    // fields of names not in the set stay as they are.
    void captionsOnAScreenOfTheWiderSuite_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("entries");
        QTest::newRow("Hindi") << int(CaptionLanguage::Hindi) << 20 << 50;
        QTest::newRow("Gujarati") << int(CaptionLanguage::Gujarati) << 20 << 50;
        QTest::newRow("Punjabi") << int(CaptionLanguage::Punjabi) << 15 << 110;
    }
    void captionsOnAScreenOfTheWiderSuite() {
        QFETCH(int, language);
        QFETCH(int, size);
        QFETCH(int, entries);
        const auto lang = CaptionLanguage(language);
        const QStringList summary = {
            "LblSiftTotal",  "LblTotalMember", "LblAverageFat", "Label6",        "Label5",
            "LblSiftMember", "LblLeftMember",  "LblSifAmount",  "LblSnfAverage", "LblCanLabel"};
        QWidget screen;
        for (const QString& name : summary + QStringList{"LblDate", "LblSummary", "LblOther"})
            (new QLabel("English", &screen))->setObjectName(name);
        auto* field = new QLineEdit("typed", &screen);
        field->setObjectName("lblname");
        const presentation::CaptionSet set = presentation::loadCaptionSet(lang, QString());
        QCOMPARE(set.size(), entries);
        presentation::applyCaptionSet(&screen, set, presentation::captionStyle(lang));
        for (const QString& name : summary)
            QCOMPARE(screen.findChild<QLabel*>(name)->font().pointSize(), 15);
        QCOMPARE(screen.findChild<QLabel*>("LblDate")->font().pointSize(), size);
        QStringList captions; // three in the Punjabi set, none in the others
        for (const presentation::Caption& c : set)
            if (c.name == "LblSummary")
                captions << c.text;
        QCOMPARE(captions.size(), entries == 110 ? 3 : 0);
        QCOMPARE(screen.findChild<QLabel*>("LblSummary")->text(),
                 captions.isEmpty() ? QString("English") : captions.last());
        QCOMPARE(screen.findChild<QLabel*>("LblOther")->text(), QString("English"));
        QCOMPARE(screen.findChild<QLabel*>("LblOther")->font(), screen.font());
        QCOMPARE(field->text(), QString("typed"));
        QCOMPARE(field->font(), screen.font());
    }
};

QTEST_MAIN(TestCaptionLanguages)
#include "test_caption_languages.moc"
