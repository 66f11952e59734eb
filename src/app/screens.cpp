#include "screens.h"

#include "core_ui/screen_support.h"

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

namespace stokara::app {

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
    stokara::transactions::registerScreens(registry);
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
