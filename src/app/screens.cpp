#include "screens.h"

#include "core/session.h"
#include "core_ui/screen_support.h"

#include <memory>

// A module takes part once its library exists (CMake defines STOKARA_HAVE_<M>)
// and it offers its registration header.
#if defined(STOKARA_HAVE_SECURITY) && __has_include("security/register_screens.h")
#include "security/register_screens.h"
#define STOKARA_REGISTER_SECURITY 1
#endif
#if defined(STOKARA_HAVE_SETUP) && __has_include("setup/register_screens.h")
#include "setup/register_screens.h"
#define STOKARA_REGISTER_SETUP 1
#endif
#if defined(STOKARA_HAVE_MASTERS) && __has_include("masters/register_screens.h")
#include "masters/register_screens.h"
#define STOKARA_REGISTER_MASTERS 1
#endif
#if defined(STOKARA_HAVE_TRANSACTIONS) && __has_include("transactions/register_screens.h")
#include "transactions/register_screens.h"
#define STOKARA_REGISTER_TRANSACTIONS 1
#endif
#if defined(STOKARA_HAVE_REPORTS) && __has_include("reports/register_screens.h")
#include "reports/register_screens.h"
#define STOKARA_REGISTER_REPORTS 1
#endif
#if defined(STOKARA_HAVE_MESSAGING) && __has_include("messaging/register_screens.h")
#include "messaging/register_screens.h"
#define STOKARA_REGISTER_MESSAGING 1
#endif
#if defined(STOKARA_HAVE_PRESENTATION) && __has_include("presentation/register_screens.h")
#include "presentation/register_screens.h"
#define STOKARA_REGISTER_PRESENTATION 1
#endif

#if defined(STOKARA_REGISTER_TRANSACTIONS)
#include "transactions/sale_finishing.h"
#if defined(STOKARA_HAVE_MESSAGING) && __has_include("messaging/sms_sender.h")
#include "messaging/sms_sender.h"
#define STOKARA_SALE_SMS 1
#endif
#endif

namespace stokara::app {

#ifdef STOKARA_REGISTER_TRANSACTIONS
namespace {

// A finished sale's memo on the shop's printer (or a PDF) and its SMS receipt
// through the shop's gateway.
class ShopBillFinishing : public transactions::BillFinishing {
public:
    explicit ShopBillFinishing(core::Session& session) : session_(session) {
#ifdef STOKARA_SALE_SMS
        QObject::connect(&sms_, &messaging::SmsSender::notice, &sms_,
                         [this](const QString& text) { notice(text); });
#endif
    }
    QString printMemo(const transactions::FinishedBill& bill) override {
        return transactions::printMemoOnShopPrinter(session_, bill);
    }
    void sendReceipt(const transactions::FinishedBill& bill) override {
#ifdef STOKARA_SALE_SMS
        sms_.sendSaleReceipt(
            {bill.partyCode, bill.billNo, bill.date, bill.partyName, bill.category});
#else
        (void)bill; // this build has no SMS gateway
#endif
    }

private:
    core::Session& session_;
#ifdef STOKARA_SALE_SMS
    messaging::SmsSender sms_{session_};
#endif
};

} // namespace
#endif

void registerAllScreens(core_ui::ScreenRegistry& registry) {
    (void)registry;
#ifdef STOKARA_REGISTER_SECURITY
    stokara::security::registerScreens(registry);
#endif
#ifdef STOKARA_REGISTER_SETUP
    stokara::setup::registerScreens(registry);
#endif
#ifdef STOKARA_REGISTER_MASTERS
    stokara::masters::registerScreens(registry);
#endif
#ifdef STOKARA_REGISTER_TRANSACTIONS
    stokara::transactions::registerScreens(registry, [](core::Session& session) {
        return std::make_unique<ShopBillFinishing>(session);
    });
#endif
#ifdef STOKARA_REGISTER_REPORTS
    stokara::reports::registerScreens(registry);
#endif
#ifdef STOKARA_REGISTER_MESSAGING
    stokara::messaging::registerScreens(registry);
#endif
#ifdef STOKARA_REGISTER_PRESENTATION
    stokara::presentation::registerScreens(registry);
#endif
}

} // namespace stokara::app
