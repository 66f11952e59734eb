#pragma once

#include "backup.h"
#include "command_line.h"

#include "core/session.h"
#include "core_ui/screen_support.h"

#include <QObject>

#include <functional>
#include <memory>

namespace stokara::core {
class Clock;
class Database;
class Dialogs;
} // namespace stokara::core

namespace stokara::app {

class LoginScreen;
class MainWindow;
struct MainWindowHooks;

// The run of the program: opens the database, runs the start-up sequence,
// shows the login screen and, once it succeeds, the main window. main() only
// builds one of these; tests drive it the same way.
class Shell : public QObject {
    Q_OBJECT
public:
    Shell(Options options, core::Dialogs& dialogs, core::Clock& clock, QObject* parent = nullptr);
    ~Shell() override;

    // Start-up sequence and login screen. Every problem is reported and the
    // login screen still opens, so the operator can fix the cause and press OK.
    void start();

    core::Session& session() { return session_; }
    core_ui::ScreenRegistry& registry() { return registry_; }
    LoginScreen* loginScreen() const { return login_.get(); }
    MainWindow* mainWindow() const { return main_.get(); }
    // Replaces how the main window starts the repair run and ends the program.
    void setHooks(std::function<void(MainWindowHooks&)> adjust) {
        adjustHooks_ = std::move(adjust);
    }
    using Copier = std::function<CopyResult(const core::DatabaseUrl& url, const QString& target)>;
    // Replaces how the start-up copy and the login's backup are made (before start()).
    void setCopier(Copier copy) { copier_ = std::move(copy); }
    // The start-up copy is still being made.
    bool startupCopyRunning() const { return startupCopy_ && startupCopy_->isRunning(); }

signals:
    void mainWindowShown();

private:
    QString openDatabase();
    // Start-up copy (begun on a worker, not waited for), trace table, languages,
    // shop values, backup folder.
    void prepareDatabase();
    void showMainWindow();

    Options options_;
    core::Dialogs& dialogs_;
    core::Clock& clock_;
    std::unique_ptr<core::Database> db_;
    core::Session session_;
    core_ui::ScreenRegistry registry_;
    std::unique_ptr<LoginScreen> login_;
    std::unique_ptr<MainWindow> main_;
    std::function<void(MainWindowHooks&)> adjustHooks_;
    QString pgDump_;
    Copier copier_;
    // Last: destroyed first, so the program waits here for a copy in progress.
    std::unique_ptr<BackgroundCopy> startupCopy_;
};

} // namespace stokara::app
