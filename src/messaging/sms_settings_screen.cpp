#include "messaging/sms_settings_screen.h"

#include "core/caption_language.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/session.h"
#include "core_ui/field_flow.h"
#include "core_ui/screen_support.h"
#include "messaging/sms_message.h"
#include "messaging/sms_settings_store.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace stokara::messaging {

namespace {
const QString kCaption = QStringLiteral("SMS Settings");

QLineEdit* field(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    return edit;
}
} // namespace

SmsSettingsScreen::SmsSettingsScreen(core::Session& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("FrmOption_beta1"));
    setWindowTitle(kCaption);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    auto* page = new QWidget(tabs);
    auto* form = new QFormLayout(page);
    userId_ = field(page, "TxtSmsId", kSmsIdWidth);
    key_ = field(page, "TxtSmsPwd", kSmsPwdWidth);
    key_->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    senderName_ = field(page, "TxtSmsSenderName", kSmsSenderNameWidth);
    gateway_ = field(page, "TxtSmsGateway", kSmsGatewayWidth);
    gateway_->setPlaceholderText(QStringLiteral("http://host:port"));
    form->addRow(new QLabel(QStringLiteral("UserId"), page), userId_);
    form->addRow(new QLabel(QStringLiteral("Password"), page), key_);
    form->addRow(new QLabel(QStringLiteral("Sender ID:"), page), senderName_);
    form->addRow(new QLabel(QStringLiteral("Gateway:"), page), gateway_);
    tabs->addTab(page, QStringLiteral("SMS"));

    // Each language in its own script, so an operator finds the one he reads.
    language_ = new QComboBox(this);
    language_->setObjectName(QStringLiteral("CmbLanguage"));
    language_->addItem(QStringLiteral("English"), QStringLiteral("1"));
    language_->addItem(QStringLiteral("Hindi - हिन्दी"), QStringLiteral("2"));
    language_->addItem(QStringLiteral("Gujarati - ગુજરાતી"), QStringLiteral("3"));
    language_->addItem(QStringLiteral("Punjabi - ਪੰਜਾਬੀ"), QStringLiteral("4"));
    auto* languageRow = new QFormLayout;
    languageRow->addRow(new QLabel(QStringLiteral("Language"), this), language_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(languageRow);

    // Enter moves on like on every entry screen.
    auto* flow = new core_ui::FieldFlow(this);
    flow->add(userId_).add(key_).add(senderName_).add(gateway_).add(language_);

    core::guarded(session_, core::ErrorKind::Log, kCaption, [this] { load(); });
    core_ui::onScreenLoad(this, session_);
}

void SmsSettingsScreen::load() {
    const SmsSettings settings = SmsSettingsStore(*session_.db).load();
    userId_->setText(settings.userId);
    key_->setText(settings.key);
    senderName_->setText(settings.senderName);
    gateway_->setText(settings.gateway);
    // An unknown stored value shows no choice and is kept unless one is picked.
    loadedLanguage_ = language_->findData(SmsSettingsStore(*session_.db).loadLanguage().trimmed());
    language_->setCurrentIndex(loadedLanguage_);
}

bool SmsSettingsScreen::store() {
    const QString gateway = gateway_->text().trimmed();
    if (!gateway.isEmpty() && !gatewayBaseUrl(gateway).isValid()) {
        session_.dialogs->information(
            kCaption, QStringLiteral("Write the gateway address as http://host:port ."));
        gateway_->setFocus();
        return false;
    }
    SmsSettings settings;
    settings.userId = userId_->text();
    settings.key = key_->text();
    settings.senderName = senderName_->text();
    settings.gateway = gateway;
    SmsSettingsStore store(*session_.db);
    store.save(settings);
    if (language_->currentIndex() >= 0 && language_->currentIndex() != loadedLanguage_) {
        const QString number = language_->currentData().toString();
        store.saveLanguage(number);
        loadedLanguage_ = language_->currentIndex();
        session_.languageFlags = core::languageFlagsFor(number);
    }
    return true;
}

void SmsSettingsScreen::closeEvent(QCloseEvent* event) {
    bool stored = false;
    const bool ok = core::guarded(session_, core::ErrorKind::Show, QStringLiteral("Form_Unload"),
                                  [&] { stored = store(); });
    // A value that cannot be stored, or a database that refused it (the error
    // was shown), keeps the screen open so nothing typed is lost.
    if (!ok || !stored) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace stokara::messaging
