#include "login_screen.h"

#include "backup.h"
#include "startup.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/session.h"
#include "core_ui/screen_support.h"
#include "security/password_store.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace stokara::app {

namespace {

const QString kBackupTitle = QStringLiteral("Tarvex Backup");

} // namespace

QString LoginScreen::caption() {
    return QStringLiteral("Stokara Login");
}

LoginScreen::LoginScreen(core::Session& session, LoginSettings settings, QWidget* parent)
    : QWidget(parent), session_(session), settings_(std::move(settings)) {
    setObjectName(QStringLiteral("frmLoginWithNewLogo"));
    setWindowTitle(caption());

    auto* logo = new QLabel(QStringLiteral("Stokara"), this);
    logo->setObjectName(QStringLiteral("lblLogo"));
    QFont big = logo->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    logo->setFont(big);
    logo->setAlignment(Qt::AlignCenter);

    userName_ = new QLineEdit(this);
    userName_->setObjectName(QStringLiteral("txtUserName"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("txtPassword"));
    password_->setEchoMode(QLineEdit::Password);
    company_ = new QComboBox(this);
    company_->setObjectName(QStringLiteral("DcCompany"));
    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Label4"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("User Name"), userName_);
    form->addRow(QStringLiteral("Password"), password_);
    form->addRow(QStringLiteral("Company"), company_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logo);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    userName_->setText(QStringLiteral("kelbo"));
    password_->setText(QStringLiteral("kelbo"));

    connect(userName_, &QLineEdit::returnPressed, this, [this] {
        password_->setFocus();
        password_->selectAll();
    });
    connect(password_, &QLineEdit::returnPressed, ok_, &QPushButton::click);
    connect(ok_, &QPushButton::clicked, this, &LoginScreen::cmdOkClick);
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
    connect(company_, &QComboBox::textActivated, this,
            [this](const QString& text) { session_.loginCompany = text; });

    fillCompanies();
    core_ui::onScreenLoad(this, session_);
}

void LoginScreen::fillCompanies() {
    if (!session_.db)
        return;
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("Form_Load"), [&] {
        const QStringList names = companyNames(*session_.db);
        company_->clear();
        company_->addItems(names);
        // The usual shop has one record; it is the report heading until another is chosen.
        if (!names.isEmpty()) {
            company_->setCurrentIndex(0);
            session_.loginCompany = names.first();
        }
    });
}

bool LoginScreen::ensureConnection() {
    if (session_.db)
        return true;
    const QString problem =
        settings_.reconnect ? settings_.reconnect() : QStringLiteral("The database is not open.");
    if (!problem.isEmpty() || !session_.db) {
        core::showError(*session_.dialogs, QStringLiteral("cmdOK_Click"),
                        {QStringLiteral("0"), problem.isEmpty()
                                                  ? QStringLiteral("The database is not open.")
                                                  : problem});
        return false;
    }
    fillCompanies();
    return true;
}

void LoginScreen::backupDatabase() {
    const QString folder = session_.backupFolder;
    if (folder.isEmpty()) {
        session_.dialogs->information(kBackupTitle,
                                      QStringLiteral("Please define backup path for backup."));
        return;
    }
    const QString title = windowTitle();
    setWindowTitle(title + QStringLiteral(" - ") +
                   QStringLiteral("(Backup in process please wait)"));
    const QString target = QDir(folder).filePath(backupFileName(session_.clock->today()));
    auto copy = settings_.copy;
    if (!copy)
        copy = [pgDump = settings_.pgDump](const core::DatabaseUrl& url, const QString& to) {
            return copyDatabase(url, to, pgDump);
        };
    const CopyResult result = copyInBackground(
        this, [copy, url = session_.db->url(), target] { return copy(url, target); });
    setWindowTitle(title);
    if (result.ok) {
        lastBackupFile_ = target;
        status_->setText(QStringLiteral("Backup Completed."));
        session_.dialogs->information(kBackupTitle, QStringLiteral("Backup Completed."));
    } else {
        status_->setText(QStringLiteral("Backup failed."));
        session_.dialogs->critical(kBackupTitle, result.problem);
    }
}

void LoginScreen::cmdOkClick() {
    if (!ensureConnection())
        return;
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("cmdOK_Click"), [&] {
        if (userName_->text().isEmpty() || password_->text().isEmpty()) {
            session_.dialogs->information(
                windowTitle(),
                QStringLiteral("You have not enterd values in user name or password"));
            return;
        }
        const std::optional<QString> stored =
            security::PasswordStore(*session_.db, security::PasswordStore::Table::User).firstRow();
        if (!stored)
            throw core::DbError(QStringLiteral("0"),
                                QStringLiteral("The password table masspass holds no password."));
        if (*stored == password_->text()) {
            // Only a good login is worth the wait of a copy; the start-up copy
            // still in progress comes first.
            if (settings_.awaitStartupCopy)
                settings_.awaitStartupCopy(this);
            backupDatabase();
            loginSucceeded_ = true;
            // Emptied before the main window loads, so its own load errors stay logged.
            session_.db->tryExec(QStringLiteral("delete from errordesc"));
            // The main window is shown before this one closes, so the program
            // never sees its last window close in between.
            emit loggedIn();
            close();
            return;
        }
        session_.dialogs->plain(QStringLiteral("Login"),
                                QStringLiteral("Invalid Password, try again!"));
        password_->setFocus();
        password_->selectAll();
    });
}

void LoginScreen::configureVendor() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("Form_KeyDown"), [&] {
        const auto answer = session_.dialogs->input(QStringLiteral("Vendor Configration"),
                                                    QStringLiteral("Enter Vendor."));
        if (!answer)
            return;
        const QString vendor = answer->trimmed();
        if (vendor.isEmpty())
            return;
        if (vendor.size() > 10) {
            session_.dialogs->information(
                windowTitle(), QStringLiteral("The vendor code can have at most 10 characters."));
            return;
        }
        if (!session_.db) {
            const QString problem = settings_.reconnect
                                        ? settings_.reconnect()
                                        : QStringLiteral("The database is not open.");
            if (!session_.db)
                throw core::DbError(QStringLiteral("0"), problem);
        }
        session_.db->exec(QStringLiteral("update dairysetting set vendor = ?"), {vendor});
    });
}

void LoginScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4) {
        configureVendor();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace stokara::app
