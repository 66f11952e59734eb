#pragma once

#include "core/navigator.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>

class QMdiArea;
class QMdiSubWindow;

namespace stokara::core {
struct Session;
} // namespace stokara::core
namespace stokara::core_ui {
class ScreenRegistry;
}

namespace stokara::app {

struct MenuEntry;

// What the main window does to the outside world, so tests can watch it.
struct MainWindowHooks {
    // Starts the repair run; false when it could not be started.
    std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
    // Ends the program.
    std::function<void()> quit;
    QString repairProgram;       // this program's own executable
    QStringList repairArguments; // --data-dir/--database/--backup-dir of this run
};

// MdiItem: the frame whose menus open every screen as a child window.
class MainWindow : public QMainWindow, public core::Navigator {
    Q_OBJECT
public:
    MainWindow(core::Session& session, const core_ui::ScreenRegistry& registry,
               MainWindowHooks hooks, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The frame's title: the shop's name, when it has one, before the credit line.
    static QString caption(const QString& shopName = {});
    // A shop without its record yet: the shop master opens before anything
    // else, with "Enter your shop's details" in the status bar.
    void askForShopWhenMissing();
    QMdiArea* mdiArea() const { return mdi_; }
    // The menu entry by its object name.
    QAction* entry(const QString& name) const;
    // Opens (or brings to the front) the screen; nullptr when it is not built.
    QWidget* showScreen(const QString& screenName, const QString& statementKind = {});
    QMdiSubWindow* subWindow(const QString& screenName) const;

    // core::Navigator: how screens open other screens.
    bool openScreen(const QString& screenName) override {
        return showScreen(screenName) != nullptr;
    }
    bool openNewParty(const QString& name) override;
    bool openInvoiceBill(const core::InvoiceBillRequest& request) override;
    bool showWindow(QWidget* window) override;

    void updateDatabase();
    void repairDatabase();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // The title and the prompt follow the shop's name in the session.
    void showShopName();
    void run(const MenuEntry& entry);

    core::Session& session_;
    const core_ui::ScreenRegistry& registry_;
    MainWindowHooks hooks_;
    QMdiArea* mdi_;
    bool quitting_ = false;
};

} // namespace stokara::app
