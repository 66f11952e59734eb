#include "shell.h"

#include "backup.h"
#include "database_access.h"
#include "login_screen.h"
#include "main_window.h"
#include "screens.h"
#include "startup.h"

#include "core/database.h"
#include "core/dialogs.h"

#include "presentation/caption_languages.h"

#include <QApplication>
#include <QProcess>

namespace stokara::app {

Shell::Shell(Options options, core::Dialogs& dialogs, core::Clock& clock, QObject* parent)
    : QObject(parent), options_(std::move(options)), dialogs_(dialogs), clock_(clock) {
    session_.dialogs = &dialogs_;
    session_.clock = &clock_;
    session_.dataDir = options_.dataDir;
    session_.backupDir = options_.backupDir;
    session_.captionApplier = presentation::applyCaptions;
    registerAllScreens(registry_);
    pgDump_ = findPgDump();
}

Shell::~Shell() {
    main_.reset();
    login_.reset();
    // A start-up copy in progress is finished, never cut off.
    startupCopy_.reset();
    session_.db = nullptr;
}

QString Shell::openDatabase() {
    OpenResult opened = openShopDatabase(options_.databaseUrl, options_.dataDir);
    if (!opened.problem.isEmpty())
        return opened.problem;
    db_ = std::move(opened.db);
    session_.db = db_.get();
    return {};
}

void Shell::start() {
    const QString problem = openDatabase();
    if (!problem.isEmpty())
        dialogs_.critical(QString(), problem);
    if (session_.db)
        prepareDatabase();

    LoginSettings settings;
    settings.pgDump = pgDump_;
    settings.copy = copier_;
    // OK waits for the start-up copy only when it is still being made.
    settings.awaitStartupCopy = [this](QWidget* over) {
        if (startupCopy_ && startupCopy_->isRunning())
            startupCopy_->await(over);
    };
    // A database that could not be opened at start gets the same start-up steps
    // once the login button reaches it.
    settings.reconnect = [this] {
        const QString why = openDatabase();
        if (why.isEmpty())
            prepareDatabase();
        return why;
    };
    login_ = std::make_unique<LoginScreen>(session_, settings);
    connect(login_.get(), &LoginScreen::loggedIn, this, &Shell::showMainWindow);
    login_->show();
}

void Shell::prepareDatabase() {
    core::Database& db = *session_.db;
    // The login is shown and usable while the copy is made on its own connection;
    // a failure is told once it is known.
    startupCopy_.reset();
    Copier copy = copier_;
    if (!copy)
        copy = [pgDump = pgDump_](const core::DatabaseUrl& url, const QString& target) {
            return copyDatabase(url, target, pgDump);
        };
    startupCopy_ = std::make_unique<BackgroundCopy>(
        [copy, url = db.url(), target = startupCopyPath(db, options_.dataDir)] {
            return copy(url, target);
        });
    connect(startupCopy_.get(), &BackgroundCopy::finished, this, [this](const CopyResult& r) {
        if (!r.ok)
            dialogs_.warning(QString(), r.problem);
    });
    recreateTableDebug(db);
    hindiCheck(session_);
    try {
        session_.shop = readShopInfo(db);
    } catch (const core::DbError&) {
        // No shop record readable: the shop values stay empty, as for a new shop.
    }
    QString why;
    session_.backupFolder = chooseBackupFolder(options_.backupDir, options_.dataDir, &why);
    if (!why.isEmpty())
        dialogs_.warning(QStringLiteral("Tarvex Backup"), why);
    try {
        why.clear();
        recordBackupFolder(db, session_.backupFolder, &why);
        if (!why.isEmpty())
            dialogs_.warning(QStringLiteral("Tarvex Backup"), why);
    } catch (const core::DbError& e) {
        dialogs_.warning(
            QStringLiteral("Tarvex Backup"),
            QStringLiteral("The backup folder could not be set: %1").arg(e.description()));
    }
}

void Shell::showMainWindow() {
    MainWindowHooks hooks;
    hooks.repairProgram = QCoreApplication::applicationFilePath();
    hooks.repairArguments = argumentsFor(options_);
    hooks.startDetached = [](const QString& program, const QStringList& args) {
        return QProcess::startDetached(program, args);
    };
    hooks.quit = [] { QCoreApplication::quit(); };
    if (adjustHooks_)
        adjustHooks_(hooks);
    main_ = std::make_unique<MainWindow>(session_, registry_, hooks);
    main_->show();
    main_->askForShopWhenMissing();
    emit mainWindowShown();
}

} // namespace stokara::app
