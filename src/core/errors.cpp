#include "errors.h"

#include "clock.h"
#include "database.h"
#include "dialogs.h"
#include "session.h"

namespace stokara::core {

ErrorInfo ErrorInfo::from(const std::exception& e) {
    if (auto* db = dynamic_cast<const DbError*>(&e))
        return {db->number(), db->description()};
    return {QStringLiteral("0"), QString::fromLocal8Bit(e.what())};
}

ErrorInfo ErrorInfo::current() {
    try {
        std::rethrow_exception(std::current_exception());
    } catch (const std::exception& e) {
        return from(e);
    } catch (...) {
        return {QStringLiteral("0"), QStringLiteral("Unknown error")};
    }
}

QString errorMessageText(const QString& procedure, const ErrorInfo& error) {
    return QStringLiteral("An error has occured.\r\n\tProcedure: ") + procedure +
           QStringLiteral("\r\n\tError Number: ") + error.number +
           QStringLiteral("\r\n\tError Description: ") + error.description;
}

void showError(Dialogs& dialogs, const QString& procedure, const ErrorInfo& error) {
    dialogs.message(Icon::Critical, QString(), errorMessageText(procedure, error));
}

bool logError(Database& db, const QString& caption, const ErrorInfo& error, const QDateTime& at) {
    QString description = error.description;
    description.remove(QLatin1Char('\''));
    return db.tryExec(QStringLiteral("insert into ErrorDesc (FormName, ErrorDescription, ErrorNo, "
                                     "ErrorDate) values (?, ?, ?, ?)"),
                      {caption.left(100), description.left(250), error.number.left(100), at});
}

bool guarded(Session& session, ErrorKind kind, const QString& procedureOrCaption,
             const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (...) {
        const ErrorInfo info = ErrorInfo::current();
        // A failure that cannot be logged (the database is what failed) is
        // shown instead, so it never passes unseen.
        if (kind == ErrorKind::Show || !session.db ||
            !logError(*session.db, procedureOrCaption, info, session.clock->now()))
            showError(*session.dialogs, procedureOrCaption, info);
        return false;
    }
}

} // namespace stokara::core
