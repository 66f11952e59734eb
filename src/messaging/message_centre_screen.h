#pragma once

#include "core_ui/entry_screen.h"

#include <memory>

class QMenu;
class QProgressDialog;
class QPushButton;
class QRadioButton;
class QTableView;

namespace stokara::messaging {

class MessageCentreModel;
class ResendRun;
struct RunSummary;

// "Message" (FrmMessage): the milk suppliers' messages waiting in the out box,
// or those sent; ticked ones are sent again (web gateway and/or GSM modem, in
// the background with a progress dialog that can cancel) or deleted.
class MessageCentreScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit MessageCentreScreen(core::Session& session, QWidget* parent = nullptr);
    ~MessageCentreScreen() override;

    void showMessages(); // fills the grid from the chosen view
    void send();         // "Send"
    void deleteTicked(); // "Delete"
    void setAllTicked(bool ticked);

    // The run of the last Send (its time-outs can be set before it starts).
    ResendRun& resendRun() { return *run_; }

private:
    void sendFinished(const RunSummary& summary);

    MessageCentreModel* model_;
    std::unique_ptr<ResendRun> run_;
    QRadioButton* optOutBox_;
    QRadioButton* optSent_;
    QPushButton* cmdSend_;
    QPushButton* cmdDelete_;
    QTableView* grid_;
    QMenu* menu_;
    QProgressDialog* progress_ = nullptr;
};

} // namespace stokara::messaging
