#include "messaging/sms_settings_screen.h"

#include "core/caption_language.h"
#include "core/database.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/session.h"
#include "core_ui/field_flow.h"
#include "core_ui/screen_support.h"
#include "core_ui/widgets.h"
#include "messaging/message_centre_store.h"
#include "messaging/simulated_modem.h"
#include "messaging/sms_message.h"
#include "messaging/sms_settings_store.h"
#include "schema/column_widths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSerialPortInfo>
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

    // How the message centre sends again what waits in the out box.
    auto* centre = new QGroupBox(QStringLiteral("Message centre"), page);
    centre->setObjectName(QStringLiteral("FraMessageCentre"));
    auto* centreForm = new QFormLayout(centre);
    webGateway_ = new QCheckBox(QStringLiteral("Send through the web gateway"), centre);
    webGateway_->setObjectName(QStringLiteral("ChkWebGateway"));
    format_ = core_ui::makeList(centre, QStringLiteral("CboGatewayFormat"),
                                {QStringLiteral("A"), QStringLiteral("B")});
    host_ = field(centre, "TxtGatewayHost", 200);
    host_->setPlaceholderText(QStringLiteral("http://host:port"));
    account_ = field(centre, "TxtGatewayUser", 50);
    password_ = field(centre, "TxtGatewayPwd", 50);
    password_->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    senderId_ = field(centre, "TxtGatewaySender", 20);
    gsmModem_ = new QCheckBox(QStringLiteral("Send through the GSM modem"), centre);
    gsmModem_->setObjectName(QStringLiteral("ChkGsmModem"));
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
    // Shown for trying the centre by hand; sending uses it whatever is chosen.
    if (SimulatedModem::requested())
        ports.prepend(SimulatedModem::shared().portName());
    modemPort_ = core_ui::makeList(centre, QStringLiteral("CboModemPort"), ports, true);
    centreForm->addRow(webGateway_);
    centreForm->addRow(new QLabel(QStringLiteral("Request format:"), centre), format_);
    centreForm->addRow(new QLabel(QStringLiteral("Host:"), centre), host_);
    centreForm->addRow(new QLabel(QStringLiteral("Account:"), centre), account_);
    centreForm->addRow(new QLabel(QStringLiteral("Password:"), centre), password_);
    centreForm->addRow(new QLabel(QStringLiteral("Sender ID:"), centre), senderId_);
    centreForm->addRow(gsmModem_);
    centreForm->addRow(new QLabel(QStringLiteral("Serial port:"), centre), modemPort_);
    form->addRow(centre);
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
    flow->add(userId_).add(key_).add(senderName_).add(gateway_).add(webGateway_).add(format_);
    flow->add(host_).add(account_).add(password_).add(senderId_).add(gsmModem_).add(modemPort_);
    flow->add(language_);

    core::guarded(session_, core::ErrorKind::Log, kCaption, [this] { load(); });
    core_ui::onScreenLoad(this, session_);
}

void SmsSettingsScreen::load() {
    const SmsSettings settings = SmsSettingsStore(*session_.db).load();
    userId_->setText(settings.userId);
    key_->setText(settings.key);
    senderName_->setText(settings.senderName);
    gateway_->setText(settings.gateway);

    MessageCentreStore centre(*session_.db);
    const CentreSettings c = centre.loadSettings();
    webGateway_->setChecked(c.webEnabled);
    core_ui::setListText(format_,
                         c.format == GatewayFormat::B ? QStringLiteral("B") : QStringLiteral("A"));
    host_->setText(c.host);
    account_->setText(c.account);
    password_->setText(c.password);
    senderId_->setText(c.senderId);
    gsmModem_->setChecked(c.modemEnabled);
    core_ui::setListText(modemPort_, c.modemPort);
    // As wide as the columns are (a database of an earlier version may differ).
    schema::ColumnWidths widths(*session_.db);
    const std::pair<QLineEdit*, const char*> limited[] = {{host_, "MsgGatewayHost"},
                                                          {account_, "MsgGatewayUser"},
                                                          {password_, "MsgGatewayPwd"},
                                                          {senderId_, "MsgGatewaySender"},
                                                          {modemPort_->lineEdit(), "MsgModemPort"}};
    for (const auto& [edit, column] : limited) {
        const int width = widths.width(QStringLiteral("dairysetting"), QLatin1String(column));
        if (width > 0)
            edit->setMaxLength(width);
    }
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
    const QString host = host_->text().trimmed();
    if (!host.isEmpty() && !gatewayBaseUrl(host).isValid()) {
        session_.dialogs->information(
            kCaption, QStringLiteral("Write the gateway address as http://host:port ."));
        host_->setFocus();
        return false;
    }
    SmsSettings settings;
    settings.userId = userId_->text();
    settings.key = key_->text();
    settings.senderName = senderName_->text();
    settings.gateway = gateway;
    CentreSettings centre;
    centre.webEnabled = webGateway_->isChecked();
    centre.format =
        core_ui::listText(format_) == QLatin1String("B") ? GatewayFormat::B : GatewayFormat::A;
    centre.host = host;
    centre.account = account_->text();
    centre.password = password_->text();
    centre.senderId = senderId_->text();
    centre.modemEnabled = gsmModem_->isChecked();
    centre.modemPort = core_ui::listText(modemPort_);

    SmsSettingsStore smsStore(*session_.db);
    MessageCentreStore centreStore(*session_.db);
    // Columns first: on PostgreSQL a failed statement would spoil the transaction.
    smsStore.ensureGatewayColumn();
    centreStore.ensureSettingsColumns();
    const bool newLanguage =
        language_->currentIndex() >= 0 && language_->currentIndex() != loadedLanguage_;
    const QString number = language_->currentData().toString();
    core::Transaction transaction(*session_.db);
    smsStore.save(settings);
    centreStore.saveSettings(centre);
    if (newLanguage)
        smsStore.saveLanguage(number);
    transaction.commit();
    if (newLanguage) {
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
