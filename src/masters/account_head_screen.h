#pragma once

#include "account_head_store.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stokara::core {
struct Session;
}

namespace stokara::masters {

// "Account Head Master": the heads of the cash day book with their groups.
class AccountHeadScreen : public QWidget {
    Q_OBJECT
public:
    explicit AccountHeadScreen(core::Session& session, QWidget* parent = nullptr);
    static QString caption() { return QStringLiteral("Account Head Master"); }
    bool editing() const { return editFlag_ == QLatin1String("Y"); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillGrid();
    void save();
    void clearFields();
    void loadFromGrid(int row);
    void askDelete(int row);
    void info(const QString& text);

    core::Session& session_;
    AccountHeadStore store_;
    QString editFlag_; // "Y" only after F6
    QLineEdit* head_ = nullptr;
    QComboBox* group_ = nullptr;
    QLineEdit* autoNo_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

} // namespace stokara::masters
