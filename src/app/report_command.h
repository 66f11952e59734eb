#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QTextStream;

namespace stokara::app {

// "stokara report NAME ..." asks for a report written to a file, without a window.
bool isReportCommand(const QStringList& args);

// Writes the report the arguments name (party-ledger, vendor-ledger,
// ledger-consolidate) to --output (.pdf or .csv). Returns the exit status:
// 0 written; 2 bad input (the screen's own message, or the usage, on `err`);
// 1 a database, layout or file failure.
int runReportCommand(const QStringList& args, const QProcessEnvironment& env,
                     const QString& defaultDataDir, QTextStream& err);

QString reportHelpText();

} // namespace stokara::app
