#pragma once

#include "core_ui/entry_screen.h"

class QCheckBox;
class QLineEdit;

namespace stokara::setup {

struct DataSourceFields;

// "DSN Creation" (FrmDsn): writes the ODBC data source through which outside
// tools (a spreadsheet, an office database, the report engine) reach the
// shop's database. The fields come filled for the database in use.
class DsnScreen : public core_ui::EntryScreen {
    Q_OBJECT
public:
    explicit DsnScreen(core::Session& session, QWidget* parent = nullptr);

private:
    void create();
    DataSourceFields fields() const;

    QLineEdit* name_;
    QLineEdit* description_;
    QLineEdit* driverPath_;
    QLineEdit* driverId_;
    QLineEdit* driverName_;
    QLineEdit* databasePath_;
    QLineEdit* userName_;
    QLineEdit* password_;
    QCheckBox* visible_;
    QLineEdit* odbcPath_;
};

} // namespace stokara::setup
