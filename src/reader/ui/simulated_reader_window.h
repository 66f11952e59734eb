#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace stokara::reader {
class SimulatedReaderModule;
}

namespace stokara::reader::ui {

// A small window standing in for the reader on the counter: type a card number, present
// the card, take it away, unplug the reader or make it misbehave.
class SimulatedReaderWindow : public QWidget {
    Q_OBJECT
public:
    explicit SimulatedReaderWindow(std::shared_ptr<SimulatedReaderModule> module,
                                   QWidget* parent = nullptr);

private:
    void presentCard();
    void refresh();

    std::shared_ptr<SimulatedReaderModule> module_;
    QLineEdit* cardNo_ = nullptr;
    QPushButton* present_ = nullptr;
    QPushButton* remove_ = nullptr;
    QCheckBox* plugged_ = nullptr;
    QCheckBox* silent_ = nullptr;
    QCheckBox* corrupt_ = nullptr;
    QCheckBox* tag_ = nullptr;
    QLabel* status_ = nullptr;
};

// Opens the simulated reader's window when STOKARA_READER=simulated; returns it (owned by
// Qt, deleted on close) or nullptr when the real reader is in use.
SimulatedReaderWindow* showSimulatedReaderWindowIfRequested();

// "04A1B2C3" -> its four bytes; nothing when the text is not eight hexadecimal digits.
std::optional<std::array<quint8, 4>> parseCardNumber(const QString& text);

} // namespace stokara::reader::ui
