#pragma once

#include <QDate>
#include <QString>

class QWidget;

namespace stokara::core {

// The bill the invoice-wise party bill opens with.
struct InvoiceBillRequest {
    QDate date;
    QString billNo;
    QString partyCode;
    QString category;
};

// How one screen opens another: the main window implements it, so a screen
// never walks up to the window or fills another screen's widgets. Each call
// returns false when that screen is not available in this build.
class Navigator {
public:
    virtual ~Navigator() = default;
    virtual bool openScreen(const QString& screenName) = 0;
    // The party master with a new party of that name (Session::newAccountName).
    virtual bool openNewParty(const QString& name) = 0;
    // The invoice-wise party bill, filled with the bill and its show button focused.
    virtual bool openInvoiceBill(const InvoiceBillRequest& request) = 0;
    // Shows a window a screen made (a report preview) inside the main window,
    // maximised; it is deleted when closed. False where there is no main window.
    virtual bool showWindow(QWidget* window) {
        (void)window;
        return false;
    }
};

// A screen that can show one invoice-wise bill when another screen asks for it.
class InvoiceBillTarget {
public:
    virtual ~InvoiceBillTarget() = default;
    virtual void showBill(const InvoiceBillRequest& request) = 0;
};

} // namespace stokara::core
