#pragma once

#include <QDateTime>
#include <QString>

#include <exception>
#include <functional>

namespace stokara::core {

class Database;
class Dialogs;
struct Session;

// Number and description of a failure, as the error handlers report them.
struct ErrorInfo {
    QString number;
    QString description;

    // From the exception being handled (DbError keeps the engine's code).
    static ErrorInfo from(const std::exception& e);
    static ErrorInfo current(); // from std::current_exception()
};

// Text of the message box of a failed procedure:
// "An error has occured." then procedure, number and description, tab-indented.
QString errorMessageText(const QString& procedure, const ErrorInfo& error);

// The message kind: a critical box titled with the application title.
void showError(Dialogs& dialogs, const QString& procedure, const ErrorInfo& error);

// The log kind: one ErrorDesc row, no message. Never throws; false when the row
// could not be written.
bool logError(Database& db, const QString& caption, const ErrorInfo& error, const QDateTime& at);

// Runs an event handler and reports any failure the way its screen does, so that
// a failure ends the handler and never the program.
enum class ErrorKind { Show, Log };
bool guarded(Session& session, ErrorKind kind, const QString& procedureOrCaption,
             const std::function<void()>& handler);

} // namespace stokara::core
