#pragma once

#include "core_ui/entry_screen.h"
#include "party_store.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace stokara::reader {
class CardPoller;
}

namespace stokara::masters {

class MasterListModel;

// "Party Master": the milk suppliers (MilkMan) and collection centres (VLCC)
// the shop sells to on credit.
class PartyScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit PartyScreen(core::Session& session, QWidget* parent = nullptr);
    ~PartyScreen() override;

    static QString caption() { return QStringLiteral("Party Master"); }

    // Where the card reader lands the number of a presented card: it replaces
    // whatever the card field shows, for whichever party is on the screen.
    void setCardNumber(const QString& cardNo);
    reader::CardPoller* cardPoller() const { return poller_; }
    QString photoPath() const { return photoPath_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls(); // party_screen_layout.cpp
    void connectFlow();
    void formLoad();
    void fillGrid();
    bool leaveName();
    void save();
    void afterInsert();
    void clearFields();
    void forgetPhoto();
    void loadFromGrid(int row);
    void askDelete(int row);
    void confirmDelete();
    void selectPhoto();
    void showPhoto(const QString& path);
    void enablePhoto();
    PartyFields collect() const;
    void info(const QString& text);

    PartyStore store_;
    PartyCodeSettings settings_;
    QString photoPath_;
    QString allocatedCode_; // the code the screen gave a new party, until it is saved
    QString pendingDelete_; // the party whose deletion waits for the password
    reader::CardPoller* poller_ = nullptr;

    QLineEdit* code_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* city_ = nullptr;
    QLineEdit* ph_ = nullptr;
    QComboBox* vehicle_ = nullptr;
    QComboBox* category_ = nullptr;
    QLineEdit* opeBal_ = nullptr;
    QLineEdit* balDrCr_ = nullptr;
    QLineEdit* comm_ = nullptr;
    QComboBox* commType_ = nullptr;
    QLineEdit* commBuff_ = nullptr;
    QComboBox* commTypeBuff_ = nullptr;
    QLineEdit* secondCowComm_ = nullptr;
    QComboBox* secondCowCommType_ = nullptr;
    QLineEdit* secondBuffaloComm_ = nullptr;
    QComboBox* secondBuffaloCommType_ = nullptr;
    QGroupBox* rateFrame_ = nullptr;
    QComboBox* cowRate_ = nullptr;
    QComboBox* buffaloRate_ = nullptr;
    QLineEdit* acNo_ = nullptr;
    QLineEdit* interest_ = nullptr;
    QComboBox* active_ = nullptr;
    QLineEdit* ifsc_ = nullptr;
    QComboBox* circuit_ = nullptr;
    QLabel* image_ = nullptr;
    QPushButton* photoButton_ = nullptr;
    QLineEdit* accountName_ = nullptr;
    QLineEdit* fatherName_ = nullptr;
    QLineEdit* bankName_ = nullptr;
    QLineEdit* bankBranch_ = nullptr;
    QLineEdit* pan_ = nullptr;
    QLineEdit* cardNo_ = nullptr;
    QLineEdit* creditLimit_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
    QTableView* grid_ = nullptr;
    MasterListModel* gridRows_ = nullptr;
    QGroupBox* securityBox_ = nullptr;
    QLineEdit* password_ = nullptr;
    QPushButton* passwordOk_ = nullptr;
};

} // namespace stokara::masters
