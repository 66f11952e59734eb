#include "screens.h"

#include "memo_report.h"

#include "core/session.h"
#include "core_ui/screen_support.h"

#include <memory>

#include "masters/register_screens.h"
#include "messaging/register_screens.h"
#include "messaging/sms_sender.h"
#include "presentation/register_screens.h"
#include "reports/register_screens.h"
#include "security/register_screens.h"
#include "setup/register_screens.h"
#include "transactions/register_screens.h"
#include "transactions/sale_finishing.h"

namespace stokara::app {

namespace {

// A finished sale's memo on the shop's printer (or a PDF) and its SMS receipt
// through the shop's gateway.
class ShopBillFinishing : public transactions::BillFinishing {
public:
    explicit ShopBillFinishing(core::Session& session) : session_(session) {
        QObject::connect(&sms_, &messaging::SmsSender::notice, &sms_,
                         [this](const QString& text) { notice(text); });
    }
    QString printMemo(const transactions::FinishedBill& bill) override {
        return app::printMemo(session_, bill);
    }
    void sendReceipt(const transactions::FinishedBill& bill) override {
        sms_.sendSaleReceipt(
            {bill.partyCode, bill.billNo, bill.date, bill.partyName, bill.category});
    }

private:
    core::Session& session_;
    messaging::SmsSender sms_{session_};
};

} // namespace

void registerAllScreens(core_ui::ScreenRegistry& registry) {
    stokara::security::registerScreens(registry);
    stokara::setup::registerScreens(registry);
    stokara::masters::registerScreens(registry);
    stokara::transactions::registerScreens(registry, [](core::Session& session) {
        return std::make_unique<ShopBillFinishing>(session);
    });
    stokara::reports::registerScreens(registry);
    stokara::messaging::registerScreens(registry);
    stokara::presentation::registerScreens(registry);
}

} // namespace stokara::app
