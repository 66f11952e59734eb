#pragma once

#include "core/entry_cycle.h"
#include "core/input_rules.h"
#include "transactions/sale_bill_model.h"
#include "transactions/sale_finishing.h"
#include "transactions/sale_rules.h"
#include "transactions/sale_store.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace stokara::core {
struct Session;
}

namespace stokara::transactions {

// Where the item sale stands.
enum class SaleState {
    NewBill,    // the next line starts a bill (a party code allocates its number)
    OpenBill,   // lines were saved with "more items": the next line joins that bill
    Correcting, // F6: the next Save rewrites the entry that was loaded
    Searching,  // F4: a bill is being called up; party codes allocate nothing
};

// A sale line as the operator typed it.
struct SaleInput {
    QString dateText;
    QString partyCode;
    QString partyName;
    QString itemName;
    QString unit;
    QString qtyText;
    QString rateText;
    QString amountText;
};

// The item sale without its widgets: bill numbers, the loaded entry, the save
// with its questions, the open bill, and the memo and receipt of a finished
// bill. Questions and messages go through the session's dialogs; a refused
// line comes back as a problem naming its field.
class SaleController {
public:
    SaleController(core::Session& session, BillFinishing* finishing);

    SaleState state() const;
    SaleStore& store() { return store_; }
    SaleBillModel& grid() { return grid_; }
    const sale::LineWidths& widths() const { return widths_; }

    QString billNo() const { return billNo_; }
    // A bill number typed or called up: it is not a new one to claim.
    void setBillNo(const QString& billNo);
    // A party code was entered: a new bill gets the next bill number.
    void partyEntered();
    void setSearching(bool on) { searching_ = on; }
    // The party category written into each line ("MilkMan" unless a loaded
    // line had another).
    QString category() const { return category_; }
    void resetCategory();

    // Loads an entry of the grid for correction (after F6).
    std::optional<LoadedSaleLine> load(qint64 entryNo);
    void startCorrection() { cycle_.startCorrection(); }
    qint64 loadedEntry() const { return cycle_.loadedKey().toLongLong(); }

    enum class Saved { Refused, NotWritten, LineSaved, BillFinished };
    struct SaveResult {
        Saved saved;
        core::Problem problem; // for Refused
    };
    // Saves the line; `more` keeps the bill open for further lines, else the
    // bill is finished (memo, receipt, "Data Saved.").
    SaveResult save(const SaleInput& input, bool more);
    // Deletes one entry after the operator agreed; false (and told) when
    // another counter deleted it first.
    bool remove(qint64 entryNo);

    // The bill whose lines were saved with "more items" and not yet finished.
    const std::optional<FinishedBill>& openBill() const { return openBill_; }
    // Leaving the bill (F2, F3, Clear, closing): an open bill asks whether to
    // finish it now. The loaded entry and the search are forgotten.
    void leaveBill();
    // F5: the memo of a bill again.
    void reprint(const FinishedBill& bill);

    // The grid shows the rows of this bill for the party on the date.
    void refreshGrid(const QDate& date, const QString& partyCode);

    // Lines for the operator's status line (memo file, SMS not delivered).
    void setNoticeSink(std::function<void(const QString&)> sink);

private:
    // Memo and receipt; `announce` adds "Data Saved." for a line just saved.
    void finish(const FinishedBill& bill, bool announce);
    void printMemo(const FinishedBill& bill);

    core::Session& session_;
    BillFinishing* finishing_;
    sale::LineWidths widths_;
    SaleStore store_;
    SaleBillModel grid_;
    core::EntryCycle cycle_;
    QString billNo_;
    // The bill number was computed here and no row holds it yet: the first
    // save claims it.
    bool pendingClaim_ = false;
    bool searching_ = false;
    QString category_ = QStringLiteral("MilkMan");
    std::optional<FinishedBill> openBill_;
    std::function<void(const QString&)> notice_;
};

} // namespace stokara::transactions
