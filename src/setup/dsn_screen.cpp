#include "dsn_screen.h"

#include "odbc_data_source.h"

#include "core/database.h"
#include "core/dialogs.h"
#include "core/session.h"
#include "core_ui/widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace stokara::setup {

DsnScreen::DsnScreen(core::Session& session, QWidget* parent)
    : core_ui::EntryScreen(session, QStringLiteral("FrmDsn"), QStringLiteral("DSN Creation"),
                           parent) {
    name_ = core_ui::makeField(this, QStringLiteral("txtDataSourceName"));
    description_ = core_ui::makeField(this, QStringLiteral("txtDescription"));
    driverPath_ = core_ui::makeField(this, QStringLiteral("txtDriverPath"));
    driverId_ = core_ui::makeField(this, QStringLiteral("txtDriverID"));
    driverName_ = core_ui::makeField(this, QStringLiteral("txtDriverName"));
    databasePath_ = core_ui::makeField(this, QStringLiteral("txtDatabasePath"));
    userName_ = core_ui::makeField(this, QStringLiteral("txtUserName"));
    password_ = core_ui::makeField(this, QStringLiteral("txtPassword"));
    password_->setEchoMode(QLineEdit::Password);
    visible_ = new QCheckBox(
        QStringLiteral("Check to display this DSN in the ODBC Data Source Administrator"), this);
    visible_->setObjectName(QStringLiteral("chkVisible"));
    odbcPath_ = core_ui::makeField(this, QStringLiteral("txtODBCPath"));
    auto* createButton = new QPushButton(QStringLiteral("Create DSN"), this);
    createButton->setObjectName(QStringLiteral("cmdCreate"));
    auto* quit = new QPushButton(QStringLiteral("Quit"), this);
    quit->setObjectName(QStringLiteral("cmdQuit"));

    auto* form = new QGridLayout;
    int row = 0;
    for (auto [label, field] :
         {std::pair{"Name of your new DSN", name_},
          std::pair{"Description of the new DSN", description_},
          std::pair{"Path to your MS Access driver", driverPath_},
          std::pair{"Driver ID", driverId_}, std::pair{"Driver Name", driverName_},
          std::pair{"Path to the database", databasePath_}, std::pair{"User name", userName_},
          std::pair{"Password", password_}}) {
        auto* l = new QLabel(QString::fromLatin1(label), this);
        l->setBuddy(field);
        field->setMinimumWidth(360); // a driver or database path stays readable
        form->addWidget(l, row, 0);
        form->addWidget(field, row++, 1);
    }
    form->addWidget(visible_, row++, 0, 1, 2);
    auto* odbcLabel = new QLabel(QStringLiteral("Path to ODBC.ini file"), this);
    odbcLabel->setBuddy(odbcPath_);
    form->addWidget(odbcLabel, row, 0);
    form->addWidget(odbcPath_, row++, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(createButton);
    buttons->addWidget(quit);
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);
    main->addStretch();

    flow()
        .add(name_)
        .add(description_)
        .add(driverPath_)
        .add(driverId_)
        .add(driverName_)
        .add(databasePath_)
        .add(userName_)
        .add(password_)
        .add(visible_)
        .add(odbcPath_)
        .add(createButton);
    connect(createButton, &QPushButton::clicked, this, [this] {
        run(core::ErrorKind::Show, QStringLiteral("cmdCreate_Click"), [this] { create(); });
    });
    connect(quit, &QPushButton::clicked, this, &QWidget::close);

    run(core::ErrorKind::Show, QStringLiteral("Form_Load"), [this] {
        const DataSourceFields f =
            defaultDataSourceFields(session_.db ? session_.db->url() : core::DatabaseUrl{});
        name_->setText(f.name);
        description_->setText(f.description);
        driverPath_->setText(f.driverPath);
        driverId_->setText(f.driverId);
        driverName_->setText(f.driverName);
        databasePath_->setText(f.databasePath);
        userName_->setText(f.userName);
    });
    finishSetup();
}

DataSourceFields DsnScreen::fields() const {
    DataSourceFields f;
    f.name = name_->text();
    f.description = description_->text();
    f.driverPath = driverPath_->text();
    f.driverId = driverId_->text();
    f.driverName = driverName_->text();
    f.databasePath = databasePath_->text();
    f.userName = userName_->text();
    f.password = password_->text();
    f.visible = visible_->isChecked();
    f.odbcIniPath = odbcPath_->text();
    return f;
}

void DsnScreen::create() {
    const DataSourceFields f = fields();
    if (const auto problem = checkDataSource(f)) {
        session_.dialogs->warning(QStringLiteral("Missing Information"), problem->message);
        if (auto* field = findChild<QWidget*>(problem->field))
            field->setFocus();
        return;
    }
    const DataSourceWrite written = writeDataSource(f);
    if (!written.ok)
        session_.dialogs->critical(QStringLiteral("Error"), QStringLiteral("Unable to create DSN"));
    else if (!written.failedFile.isEmpty())
        session_.dialogs->critical(
            QStringLiteral("Error"),
            QStringLiteral("The DSN was created, but %1 could not be written.")
                .arg(written.failedFile));
}

} // namespace stokara::setup
