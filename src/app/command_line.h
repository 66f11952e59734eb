#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace stokara::app {

// What the command line and the environment asked for, with the defaults
// filled in.
struct Options {
    QString dataDir;     // where dairy.db, DairyBackup.db and the default backups live
    QString databaseUrl; // "sqlite:PATH" or "postgresql://..."
    QString backupDir;   // the shop's preferred backup place; empty when none was given
    bool repair = false;
    QString restoreFrom; // --restore FILE: the backup to put in place of the database
    bool demo = false;   // a demo shop in <data>/demo instead of the shop's database
    bool help = false;
    bool version = false;
};

struct ParseResult {
    Options options;
    QString error; // non-empty when the command line could not be understood
};

// args includes the program name first, as QCoreApplication::arguments() has it.
// defaultDataDir is used when neither --data-dir nor STOKARA_DATA_DIR names one.
ParseResult parseCommandLine(const QStringList& args, const QProcessEnvironment& env,
                             const QString& defaultDataDir);

// The long names of the program's options, without their dashes.
QStringList optionNames();
QString helpText();
QString versionText();

// The arguments that start this program again on the same data (for the repair run).
QStringList argumentsFor(const Options& options);

} // namespace stokara::app
