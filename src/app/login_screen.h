#pragma once

#include "backup.h"

#include <QString>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace stokara::core {
struct Session;
}

namespace stokara::app {

struct LoginSettings {
    // Opens the database when the session has none (it could not be opened at
    // start-up); returns what went wrong, empty on success.
    std::function<QString()> reconnect;
    // The pg_dump used for PostgreSQL backups; empty when none is installed.
    QString pgDump;
    // The login copy, run on a worker thread; empty: copyDatabase with pgDump.
    std::function<CopyResult(const core::DatabaseUrl& url, const QString& target)> copy;
    // Waits, over the given window, for the start-up copy when it is still being
    // made; the login's own copy follows it. Empty: nothing to wait for.
    std::function<void(QWidget* over)> awaitStartupCopy;
};

// The first window: user name, password, shop, and the per-login backup into
// the counter's backup folder, made once the password matched and before
// loggedIn() is emitted; whoever started it shows the main window.
class LoginScreen : public QWidget {
    Q_OBJECT
public:
    LoginScreen(core::Session& session, LoginSettings settings, QWidget* parent = nullptr);

    bool loginSucceeded() const { return loginSucceeded_; }
    // The file the last backup was written to (empty before any).
    QString lastBackupFile() const { return lastBackupFile_; }
    static QString caption();

signals:
    void loggedIn();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cmdOkClick();
    void backupDatabase();
    void configureVendor();
    bool ensureConnection();
    void fillCompanies();

    core::Session& session_;
    LoginSettings settings_;
    QLineEdit* userName_;
    QLineEdit* password_;
    QComboBox* company_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QLabel* status_;
    bool loginSucceeded_ = false;
    QString lastBackupFile_;
};

} // namespace stokara::app
