// Stokara as a system command: a staged install (DESTDIR) finds its layouts
// and captions in the system's data folders, a shop's own copies still win,
// and the manual page and --help list every option the program takes.
#include "app/command_line.h"
#include "app/report_command.h"
#include "demo/demo_database.h"
#include "presentation/caption_languages.h"
#include "reports/paper_check.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace stokara;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// "\-\-data\-dir" as troff writes it, back to plain text.
QString plain(QString troff) {
    return troff.replace(QLatin1String("\\-"), QLatin1String("-"));
}

} // namespace

class TestInstallation : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString stage() const { return dir.filePath(QStringLiteral("stage")); }
    QString shared() const { return stage() + QStringLiteral("/usr/share"); }

    QProcessEnvironment installedEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_DIRS"), shared());
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("home")));
        // As from a shell without a desktop session.
        for (const char* name : {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                 "STOKARA_DATA_DIR", "STOKARA_DATABASE"})
            env.remove(QString::fromLatin1(name));
        return env;
    }

    // The installed program writes the consolidated ledger of the demo shop;
    // the PDF's text, or empty with the failure recorded.
    QString consolidatedLedgerText(const QString& dataDir) {
        const QString pdf = dir.filePath(QStringLiteral("ledger.pdf"));
        QFile::remove(pdf);
        QProcess run;
        run.setProcessEnvironment(installedEnvironment());
        run.start(stage() + QStringLiteral("/usr/bin/stokara"),
                  {QStringLiteral("report"), QStringLiteral("ledger-consolidate"),
                   QStringLiteral("--data-dir"), dataDir, QStringLiteral("--date"),
                   QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")),
                   QStringLiteral("--output"), pdf});
        if (!run.waitForFinished(120000))
            return QString();
        const QByteArray err = run.readAllStandardError();
        if (run.exitCode() != 0) {
            qWarning("report exit %d: %s", run.exitCode(), err.constData());
            return QString();
        }
        // Nothing but the report: no notes from Qt on standard error.
        if (!err.isEmpty()) {
            qWarning("standard error: %s", err.constData());
            return QString();
        }
        return test::pdfText(pdf);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), stage());
        install.setProcessEnvironment(env);
        install.start(QStringLiteral(STOKARA_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(STOKARA_BUILD_DIR),
                       QStringLiteral("--prefix"), QStringLiteral("/usr")});
        QVERIFY(install.waitForFinished(300000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    }

    void installedLayoutsAreFoundAndTheShopsCopyWins() {
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString demo = QDir(data).filePath(QStringLiteral("demo"));
        demo::ensureDemoDatabase(demo);
        const QString file = QStringLiteral("/reports/RptVorlk_DayBookLedgerConsolidate1.rpt");
        const QByteArray layout = readAll(shared() + QStringLiteral("/stokara") + file);
        QVERIFY(layout.contains("text=\"As on:\""));

        // Nothing beside the staged program: the layout can only come from
        // the system's data folders.
        QVERIFY(!QFileInfo::exists(stage() + QStringLiteral("/usr/bin/reports")));
        QByteArray staged = layout;
        staged.replace("text=\"As on:\"", "text=\"Installed as on:\"");
        QVERIFY(writeAll(shared() + QStringLiteral("/stokara") + file, staged));
        QString text = consolidatedLedgerText(demo);
        QVERIFY(text.contains(QLatin1String("Installed as on:")));

        QByteArray own = layout;
        own.replace("text=\"As on:\"", "text=\"Shop as on:\"");
        QVERIFY(writeAll(demo + file, own));
        text = consolidatedLedgerText(demo);
        QVERIFY(text.contains(QLatin1String("Shop as on:")));
        QVERIFY(!text.contains(QLatin1String("Installed")));
    }

    void installedCaptionsAreFoundAndTheShopsCopyWins() {
        const QString file = shared() + QStringLiteral("/stokara/captions/hindi.txt");
        QByteArray set = readAll(file);
        QVERIFY(!set.isEmpty());
        QVERIFY(writeAll(file, set + "\nLblInstalledMark\tinstalled\n"));
        const QByteArray oldDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", shared().toLocal8Bit());
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_DIRS", oldDirs); });
        const presentation::Caption mark{QStringLiteral("LblInstalledMark"),
                                         QStringLiteral("installed")};

        const QString data = dir.filePath(QStringLiteral("captions-data"));
        QVERIFY(presentation::loadCaptionSet(presentation::CaptionLanguage::Hindi, data)
                    .contains(mark));

        QVERIFY(writeAll(data + QStringLiteral("/captions/hindi.txt"), "LblOwn\tshop's own\n"));
        const presentation::CaptionSet own =
            presentation::loadCaptionSet(presentation::CaptionLanguage::Hindi, data);
        QCOMPARE(own, (presentation::CaptionSet{
                          {QStringLiteral("LblOwn"), QStringLiteral("shop's own")}}));
    }

    void manualPageAndHelpListEveryOption() {
        const QString page = plain(QString::fromUtf8(readAll(QStringLiteral(STOKARA_MAN_PAGE))));
        QVERIFY(!page.isEmpty());
        // The OPTIONS section: each .TP is followed by the option it explains.
        const qsizetype start = page.indexOf(QLatin1String("\n.SH OPTIONS"));
        const qsizetype end = page.indexOf(QLatin1String("\n.SH "), start + 1);
        QVERIFY(start >= 0 && end > start);
        QStringList documented;
        static const QRegularExpression tagged(QStringLiteral("\\n\\.TP\\n\\.BI? --([a-z-]+)"));
        for (auto m = tagged.globalMatch(page.mid(start, end - start)); m.hasNext();)
            documented << m.next().captured(1);

        QStringList accepted = app::optionNames();
        accepted.sort();
        documented.sort();
        QCOMPARE(documented, accepted);

        const QString help = app::helpText();
        for (const QString& option : accepted)
            QVERIFY2(help.contains(QStringLiteral("--") + option + QLatin1Char(' ')),
                     qPrintable(option));
        QVERIFY(help.contains(QLatin1String("report NAME")));

        // Every report and report option the command knows is in the page.
        static const QRegularExpression reportWord(
            QStringLiteral("(?<![\\w-])(--[a-z]+(?:-[a-z]+)*|[a-z]+(?:-[a-z]+)+)"));
        const QString reportSection = page.mid(page.indexOf(QLatin1String("\n.SH THE REPORT")));
        for (const QString& line : app::reportHelpText().split(QLatin1Char('\n'))) {
            if (!line.startsWith(QLatin1String("  ")))
                continue;
            for (auto m = reportWord.globalMatch(line); m.hasNext();) {
                const QString word = m.next().captured(1);
                QVERIFY2(reportSection.contains(word), qPrintable(word));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "test_installation.moc"
