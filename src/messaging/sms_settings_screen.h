#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace stokara::core {
struct Session;
}

namespace stokara::messaging {

// "SMS Settings" (FrmOption_beta1): the receipt gateway's account and address,
// how the message centre sends (web gateway, GSM modem), and the language of
// the screens' captions. The values are stored when the screen closes; screens
// opened after that show the chosen language.
class SmsSettingsScreen : public QWidget {
    Q_OBJECT
public:
    explicit SmsSettingsScreen(core::Session& session, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void load();
    // False (with a message) when a value cannot be stored as typed.
    bool store();

    core::Session& session_;
    QLineEdit* userId_ = nullptr;
    QLineEdit* key_ = nullptr;
    QLineEdit* senderName_ = nullptr;
    QLineEdit* gateway_ = nullptr;
    // The message centre's
    QCheckBox* webGateway_ = nullptr;
    QComboBox* format_ = nullptr;
    QLineEdit* host_ = nullptr;
    QLineEdit* account_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* senderId_ = nullptr;
    QCheckBox* gsmModem_ = nullptr;
    QComboBox* modemPort_ = nullptr;
    // The caption language; written only when the operator picks another one.
    QComboBox* language_ = nullptr;
    int loadedLanguage_ = -1;
};

} // namespace stokara::messaging
