#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <memory>

namespace stokara::core {
struct Session;
}

namespace stokara::transactions {

// A bill whose last line was saved: what its memo and SMS receipt are made of.
struct FinishedBill {
    QDate date;
    QString billNo;
    QString partyCode;
    QString partyName;
    // The sale's party category, so a code kept by two parties finds the right one.
    QString category;
};

// What happens after a bill is finished: the memo and the SMS receipt. The
// application gives the shop's printer and SMS gateway; tests give a recorder.
class BillFinishing {
public:
    virtual ~BillFinishing() = default;
    // Prints the bill's memo; returns a line for the operator ("" for none).
    // Throws on a failure.
    virtual QString printMemo(const FinishedBill& bill) = 0;
    // Sends the SMS receipt; what becomes of it later reaches the notice sink.
    virtual void sendReceipt(const FinishedBill& bill) = 0;

    // Where lines for the operator that arrive later go (the screen's status line).
    void setNoticeSink(std::function<void(const QString&)> sink) { sink_ = std::move(sink); }

protected:
    void notice(const QString& text) const {
        if (sink_)
            sink_(text);
    }

private:
    std::function<void(const QString&)> sink_;
};

using BillFinishingFactory = std::function<std::unique_ptr<BillFinishing>(core::Session&)>;

// The memo on the shop's printer, or in a PDF file on a machine without one;
// returns the line naming that file ("" when printed, or when the bill has no
// line to print). Throws when neither can be opened.
QString printMemoOnShopPrinter(core::Session& session, const FinishedBill& bill);

} // namespace stokara::transactions
