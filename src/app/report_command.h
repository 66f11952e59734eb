#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QTextStream;

namespace stokara::app {

// "stokara [--data-dir DIR] report NAME ..." asks for a report written to a
// file, without a window.
bool isReportCommand(const QStringList& args);

// Writes the report the arguments name (any of the report table's commands)
// to --output (.pdf or .csv); with no name, lists the reports on `out`.
// Returns the exit status: 0 written or listed; 2 bad input (the screen's own
// message, a date named by its option, or the usage, on `err`); 3 nothing to
// report; 1 a database, layout or file failure.
int runReportCommand(const QStringList& args, const QProcessEnvironment& env,
                     const QString& defaultDataDir, QTextStream& out, QTextStream& err);

QString reportHelpText();

} // namespace stokara::app
