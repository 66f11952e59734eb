#include "transactions/sale_controller.h"

#include "core/database.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/idioms.h"
#include "core/session.h"
#include "schema/column_widths.h"
#include "transactions/balance.h"

namespace stokara::transactions {

namespace {

using sale::kCaption;

sale::LineWidths itemsaleWidths(core::Database& db) {
    schema::ColumnWidths widths(db);
    const QString table = QStringLiteral("itemsale");
    sale::LineWidths w;
    w.billNo = widths.width(table, QStringLiteral("doc_no"));
    w.partyCode = widths.width(table, QStringLiteral("party_code"));
    w.itemName = widths.width(table, QStringLiteral("item_name"));
    w.unit = widths.width(table, QStringLiteral("unit"));
    w.category = widths.width(table, QStringLiteral("category"));
    return w;
}

} // namespace

SaleController::SaleController(core::Session& session, BillFinishing* finishing)
    : session_(session), finishing_(finishing), widths_(itemsaleWidths(*session.db)),
      store_(*session.db, widths_.billNo) {}

SaleState SaleController::state() const {
    if (cycle_.correcting())
        return SaleState::Correcting;
    if (searching_)
        return SaleState::Searching;
    if (openBill_)
        return SaleState::OpenBill;
    return SaleState::NewBill;
}

void SaleController::setBillNo(const QString& billNo) {
    billNo_ = billNo;
    pendingClaim_ = false;
}

void SaleController::partyEntered() {
    if (state() != SaleState::NewBill)
        return;
    billNo_ = store_.nextBillNo();
    pendingClaim_ = true;
}

void SaleController::resetCategory() {
    category_ = QStringLiteral("MilkMan");
}

std::optional<LoadedSaleLine> SaleController::load(qint64 entryNo) {
    auto line = store_.loadLine(entryNo);
    if (!line) {
        cycle_.reset();
        return std::nullopt;
    }
    // The row stays in its own bill: loading it allocates no new number.
    setBillNo(line->billNo);
    category_ = line->category;
    cycle_.loaded(entryNo);
    return line;
}

SaleController::SaveResult SaleController::save(const SaleInput& in, bool more) {
    sale::LineFields fields{in.dateText, in.rateText, in.partyName,  in.partyCode, in.qtyText,
                            in.itemName, in.unit,     in.amountText, billNo_};
    if (auto problem = sale::firstSaveProblem(fields, widths_))
        return {Saved::Refused, *problem};

    SaleLine line;
    line.date = *core::parseDate(in.dateText);
    line.billNo = billNo_;
    line.partyCode = in.partyCode;
    line.itemName = in.itemName;
    line.unit = in.unit;
    line.qty = *core::positiveNumber(in.qtyText);
    line.rate = *core::positiveNumber(in.rateText);
    line.amount = *core::positiveNumber(in.amountText);
    line.category = widths_.category > 0 ? category_.left(widths_.category) : category_;

    // The balance as it stands now, not as a label showed it some time ago.
    const double balance = closingBalance(*session_.db, line.partyCode, line.date).value_or(0);
    if (line.amount > balance &&
        !session_.dialogs->yesNo(kCaption,
                                 QStringLiteral("Account has not sufficient balance. Do you want "
                                                "to continue anyway."),
                                 core::Icon::Information))
        return {Saved::NotWritten, {}};
    if (!cycle_.correcting() &&
        store_.duplicateCount(line.partyCode, line.itemName, line.date, line.billNo) > 0 &&
        !session_.dialogs->okCancel(kCaption, QStringLiteral("Duplicate Entry. Add it anyway."),
                                    core::Icon::None))
        return {Saved::NotWritten, {}};

    core::WriteOutcome outcome;
    try {
        outcome = cycle_.save(
            [&] {
                const SavedSaleLine saved = store_.insertLine(line, pendingClaim_);
                pendingClaim_ = false;
                if (saved.billNoChanged) {
                    billNo_ = saved.billNo;
                    session_.dialogs->information(
                        kCaption, QStringLiteral("Bill No. %1 was taken at another counter; "
                                                 "this bill is Bill No. %2.")
                                      .arg(line.billNo, saved.billNo));
                }
            },
            [&](const QVariant& key) { return store_.updateLine(key.toLongLong(), line); });
    } catch (const SaleRefused& refused) {
        session_.dialogs->information(kCaption, refused.text());
        return {Saved::NotWritten, {}};
    }
    const QString message = core::outcomeMessage(outcome);
    if (!message.isEmpty()) {
        session_.dialogs->information(kCaption, message);
        return {Saved::NotWritten, {}};
    }
    searching_ = false;

    // An update keeps the row's own bill number.
    const FinishedBill bill{line.date, billNo_, line.partyCode, in.partyName, line.category};
    if (more) {
        openBill_ = bill;
        return {Saved::LineSaved, {}};
    }
    openBill_.reset();
    finish(bill, true);
    return {Saved::BillFinished, {}};
}

bool SaleController::remove(qint64 entryNo) {
    const core::WriteOutcome outcome = cycle_.remove(
        entryNo, [this](const QVariant& key) { return store_.deleteLine(key.toLongLong()); });
    if (outcome == core::WriteOutcome::Removed)
        return true;
    session_.dialogs->information(QStringLiteral("Delete Entry"), core::outcomeMessage(outcome));
    return false;
}

void SaleController::finish(const FinishedBill& bill, bool announce) {
    printMemo(bill);
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("SendSMS"), [&] {
        if (finishing_)
            finishing_->sendReceipt(bill);
    });
    if (announce)
        session_.dialogs->information(kCaption, QStringLiteral("Data Saved."));
}

void SaleController::printMemo(const FinishedBill& bill) {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("SlipPrint"), [&] {
        if (!finishing_)
            return;
        const QString text = finishing_->printMemo(bill);
        if (!text.isEmpty() && notice_)
            notice_(text);
    });
}

void SaleController::reprint(const FinishedBill& bill) {
    cycle_.reset();
    printMemo(bill);
}

void SaleController::leaveBill() {
    cycle_.reset();
    searching_ = false;
    if (!openBill_)
        return;
    const FinishedBill bill = *openBill_;
    // Forgotten first: a failing memo must not ask again on the next key.
    openBill_.reset();
    if (session_.dialogs->yesNo(kCaption, QStringLiteral("Bill No. %1 is not finished. Print its "
                                                         "memo and send the SMS now?")
                                              .arg(bill.billNo)))
        finish(bill, false); // its lines were saved long ago
}

void SaleController::refreshGrid(const QDate& date, const QString& partyCode) {
    grid_.setRows(store_.billRows(date, billNo_, partyCode));
}

void SaleController::setNoticeSink(std::function<void(const QString&)> sink) {
    notice_ = sink;
    if (finishing_)
        finishing_->setNoticeSink(std::move(sink));
}

} // namespace stokara::transactions
