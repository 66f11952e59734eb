#include "main_window.h"

#include "dairy_child.h"
#include "menu_table.h"
#include "startup.h"

#include "core/app_info.h"
#include "core/clock.h"
#include "core/database.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/session.h"
#include "core_ui/screen_support.h"
#include "schema/schema.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>

namespace stokara::app {

namespace {

// Closes the child window when its screen closes itself (a Cancel button).
class CloseWithScreen : public QObject {
public:
    CloseWithScreen(QMdiSubWindow* sub, QWidget* screen) : QObject(sub), sub_(sub) {
        screen->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close && sub_ && !closing_) {
            closing_ = true;
            QPointer<QMdiSubWindow> sub = sub_;
            QTimer::singleShot(0, sub, [sub] {
                if (sub && sub->isVisible())
                    sub->close();
            });
        }
        return false;
    }

private:
    QPointer<QMdiSubWindow> sub_;
    bool closing_ = false;
};

} // namespace

QString MainWindow::caption(const QString& shopName) {
    const QString name = shopName.trimmed();
    return name.isEmpty() ? core::creditLine() : name + QStringLiteral(" - ") + core::creditLine();
}

MainWindow::MainWindow(core::Session& session, const core_ui::ScreenRegistry& registry,
                       MainWindowHooks hooks, QWidget* parent)
    : QMainWindow(parent), session_(session), registry_(registry), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("MdiItem"));
    setWindowTitle(caption());
    session_.navigator = this;
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    buildMenus();
    resize(1024, 720);

    core::guarded(session_, core::ErrorKind::Log, caption(), [&] {
        core_ui::onScreenLoad(this, session_);
        auto* picture = new DairyChild;
        QMdiSubWindow* sub = mdi_->addSubWindow(picture);
        sub->setObjectName(picture->objectName());
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        if (session_.db) {
            const core::ShopInfo shop = readShopInfo(*session_.db);
            session_.shop.name = shop.name;
            session_.shop.address = shop.address;
            session_.shop.city = shop.city;
            session_.shop.mobile = shop.mobile;
        }
    });
    showShopName();
}

void MainWindow::showShopName() {
    setWindowTitle(caption(session_.shop.name));
    if (!session_.shop.name.trimmed().isEmpty())
        statusBar()->clearMessage();
}

void MainWindow::askForShopWhenMissing() {
    if (!session_.shop.name.trimmed().isEmpty())
        return;
    statusBar()->showMessage(QStringLiteral("Enter your shop's details"));
    showScreen(QStringLiteral("FrmCompany"));
}

void MainWindow::buildMenus() {
    QHash<QString, QMenu*> menus;
    for (const MenuEntry& e : menuTable()) {
        const QString menuName = QString::fromUtf8(e.menu);
        if (!*e.entry) {
            // A bare menu-bar action ("E&xit").
            QAction* action = menuBar()->addAction(QString::fromUtf8(e.caption));
            action->setObjectName(menuName);
            connect(action, &QAction::triggered, this, [this, &e] { run(e); });
            continue;
        }
        QMenu*& menu = menus[menuName];
        if (!menu) {
            menu = menuBar()->addMenu(QString::fromUtf8(e.menuCaption));
            menu->setObjectName(menuName);
        }
        QAction* action = menu->addAction(QString::fromUtf8(e.caption));
        action->setObjectName(QString::fromUtf8(e.entry));
        if (*e.shortcut)
            action->setShortcut(QKeySequence(QString::fromUtf8(e.shortcut)));
        action->setVisible(!e.hidden);
        switch (e.action) {
        case MenuAction::OpenScreen:
            // Nothing opens an empty window: a screen not built yet leaves its entry disabled.
            action->setEnabled(registry_.has(QString::fromUtf8(e.screen)));
            break;
        case MenuAction::None:
            action->setEnabled(false);
            break;
        default:
            break;
        }
        connect(action, &QAction::triggered, this, [this, &e] { run(e); });
    }
}

QAction* MainWindow::entry(const QString& name) const {
    for (QAction* a : findChildren<QAction*>())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void MainWindow::run(const MenuEntry& e) {
    switch (e.action) {
    case MenuAction::OpenScreen:
        showScreen(QString::fromUtf8(e.screen), QString::fromUtf8(e.statementKind));
        break;
    case MenuAction::UpdateDatabase:
        updateDatabase();
        break;
    case MenuAction::RepairDatabase:
        repairDatabase();
        break;
    case MenuAction::Exit:
        close();
        break;
    case MenuAction::None:
        break;
    }
}

QMdiSubWindow* MainWindow::subWindow(const QString& screenName) const {
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (sub->objectName() == screenName)
            return sub;
    return nullptr;
}

QWidget* MainWindow::showScreen(const QString& screenName, const QString& statementKind) {
    if (QMdiSubWindow* open = subWindow(screenName)) {
        const bool sameKind =
            statementKind.isEmpty() || open->property("statementKind").toString() == statementKind;
        if (sameKind) {
            if (open->isMinimized())
                open->showNormal();
            mdi_->setActiveSubWindow(open);
            open->raise();
            return open->widget();
        }
        // The statement screen reads its kind when it opens, so the other kind
        // needs a fresh screen.
        open->setObjectName(QString());
        open->close();
    }
    if (!registry_.has(screenName))
        return nullptr;
    if (!statementKind.isEmpty())
        session_.statementKind = statementKind;
    QWidget* screen = nullptr;
    core::guarded(session_, core::ErrorKind::Show, screenName + QStringLiteral("_Load"),
                  [&] { screen = registry_.create(screenName, session_); });
    if (!screen)
        return nullptr;
    QMdiSubWindow* sub = mdi_->addSubWindow(screen);
    sub->setObjectName(screenName);
    sub->setProperty("statementKind", statementKind);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(screen->windowTitle());
    new CloseWithScreen(sub, screen);
    if (screenName == QLatin1String("FrmCompany")) {
        // The shop master puts a saved name in the session; the title follows
        // once its save has run.
        if (auto* save = screen->findChild<QAbstractButton*>(QStringLiteral("CmdSave")))
            connect(save, &QAbstractButton::clicked, this, &MainWindow::showShopName,
                    Qt::QueuedConnection);
    }
    sub->show();
    mdi_->setActiveSubWindow(sub);
    return screen;
}

void MainWindow::updateDatabase() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("MnuDR_Click"), [&] {
        if (!session_.db)
            throw core::DbError(QStringLiteral("0"), QStringLiteral("The database is not open."));
        QProgressDialog progress(QStringLiteral("Updating the database..."), QString(), 0, 100,
                                 this);
        progress.setObjectName(QStringLiteral("UpdateProgress"));
        progress.setWindowTitle(schema::upgradeTitle());
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        progress.setAutoClose(false);
        progress.setAutoReset(false); // stays full while the last message is up
        progress.setValue(0);
        schema::UpgradeOptions options;
        options.dataFolder = session_.dataDir;
        options.now = session_.clock->now();
        options.batchDone = [&](int batch) {
            session_.dialogs->information(schema::upgradeTitle(),
                                          batch == 1 ? schema::firstBatchDoneText()
                                                     : schema::secondBatchDoneText());
        };
        schema::upgradeDatabase(*session_.db, options, [&](int done, int total, int batch) {
            progress.setMaximum(qMax(1, total));
            progress.setValue(qMin(done, total));
            progress.setLabelText(QStringLiteral("Updating the database (part %1)...").arg(batch));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        progress.close();
    });
}

void MainWindow::repairDatabase() {
    if (session_.db && !session_.db->isSqlite()) {
        session_.dialogs->information(
            QStringLiteral("Repair Database"),
            QStringLiteral("Repair works on the SQLite database file of one counter. This shop "
                           "uses a PostgreSQL server, which checks its own databases."));
        return;
    }
    session_.dialogs->information(QStringLiteral("Repair Database"),
                                  QStringLiteral("This will close your Stokara."));
    QStringList args{QStringLiteral("--repair")};
    args += hooks_.repairArguments;
    const bool started = hooks_.startDetached && hooks_.startDetached(hooks_.repairProgram, args);
    if (!started)
        session_.dialogs->information(QStringLiteral("Repair Database"),
                                      hooks_.repairProgram + QStringLiteral(" not found"));
    quitting_ = true;
    if (hooks_.quit)
        hooks_.quit();
}

MainWindow::~MainWindow() {
    if (session_.navigator == this)
        session_.navigator = nullptr;
}

bool MainWindow::openNewParty(const QString& name) {
    if (!registry_.has(QStringLiteral("masparty")))
        return false;
    // The party master reads the name when it opens, so an open one is
    // closed first (the operator left it; a half-typed party there is kept
    // by its own close question, if any).
    if (QMdiSubWindow* open = subWindow(QStringLiteral("masparty"))) {
        open->setObjectName(QString());
        open->close();
    }
    session_.newAccountName = name;
    return showScreen(QStringLiteral("masparty")) != nullptr;
}

bool MainWindow::openInvoiceBill(const core::InvoiceBillRequest& request) {
    QWidget* screen = showScreen(QStringLiteral("FrmBill_Invoicewise"));
    auto* target = dynamic_cast<core::InvoiceBillTarget*>(screen);
    if (!target)
        return false;
    target->showBill(request);
    return true;
}

bool MainWindow::showWindow(QWidget* window) {
    if (!window)
        return false;
    QMdiSubWindow* sub = mdi_->addSubWindow(window);
    sub->setObjectName(window->objectName());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(window->windowTitle());
    new CloseWithScreen(sub, window);
    sub->showMaximized();
    mdi_->setActiveSubWindow(sub);
    window->setFocus();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Each screen may still ask something (a bill left open); one that refuses
    // to close keeps the program running.
    mdi_->closeAllSubWindows();
    if (!mdi_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    event->accept();
    if (!quitting_) {
        quitting_ = true;
        if (hooks_.quit)
            hooks_.quit();
    }
}

} // namespace stokara::app
