#include "messaging/message_centre_screen.h"

#include "core/dialogs.h"
#include "core/session.h"
#include "core_ui/widgets.h"
#include "messaging/message_centre_model.h"
#include "messaging/message_centre_store.h"
#include "messaging/resend_run.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace stokara::messaging {

namespace {
const QString kCaption = QStringLiteral("Message");
const QString kModemTitle = QStringLiteral("Tarvex SMS Manager");
} // namespace

MessageCentreScreen::MessageCentreScreen(core::Session& session, QWidget* parent)
    : EntryScreen(session, QStringLiteral("FrmMessage"), kCaption, parent),
      model_(new MessageCentreModel(this)), run_(std::make_unique<ResendRun>(session)) {
    optOutBox_ = new QRadioButton(QStringLiteral("Out Box"), this);
    optOutBox_->setObjectName(QStringLiteral("OptOutBox"));
    optOutBox_->setChecked(true);
    optSent_ = new QRadioButton(QStringLiteral("Sent"), this);
    optSent_->setObjectName(QStringLiteral("OptSent"));
    cmdSend_ = new QPushButton(QStringLiteral("Send"), this);
    cmdSend_->setObjectName(QStringLiteral("CmdSend"));
    cmdDelete_ = new QPushButton(QStringLiteral("Delete"), this);
    cmdDelete_->setObjectName(QStringLiteral("CmdDelete"));

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("VsFlex"));
    grid_->setModel(model_);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers); // only the ticks change
    const int widths[] = {1000, 1000, 1500, 2500, 5000};
    for (int c = 0; c < 5; ++c)
        grid_->setColumnWidth(c, core_ui::twips(widths[c]));
    grid_->setColumnHidden(MessageCentreModel::RecordId, true);
    grid_->setColumnHidden(MessageCentreModel::Mobile, true);
    grid_->setMinimumWidth(core_ui::twips(11000) + 30);

    menu_ = new QMenu(QStringLiteral("Mark"), this);
    menu_->setObjectName(QStringLiteral("mnuoption"));
    QAction* markAll = menu_->addAction(QStringLiteral("Mark All"));
    markAll->setObjectName(QStringLiteral("MnuMa"));
    QAction* unmarkAll = menu_->addAction(QStringLiteral("UnMark All"));
    unmarkAll->setObjectName(QStringLiteral("Mnuua"));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(grid_->viewport()->mapToGlobal(at)); });
    connect(markAll, &QAction::triggered, this, [this] { setAllTicked(true); });
    connect(unmarkAll, &QAction::triggered, this, [this] { setAllTicked(false); });

    auto* options = new QHBoxLayout;
    options->addWidget(optOutBox_);
    options->addWidget(optSent_);
    options->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSend_);
    buttons->addWidget(cmdDelete_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(grid_);
    layout->addLayout(buttons);

    for (QRadioButton* option : {optOutBox_, optSent_})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showMessages();
        });
    connect(cmdSend_, &QPushButton::clicked, this, [this] { send(); });
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { deleteTicked(); });
    connect(run_.get(), &ResendRun::progress, this, [this](int done, int total) {
        if (!progress_)
            return;
        progress_->setValue(done);
        progress_->setLabelText(QStringLiteral("Sending messages: %1 of %2").arg(done).arg(total));
    });
    connect(run_.get(), &ResendRun::finished, this,
            [this](const RunSummary& summary) { sendFinished(summary); });

    showMessages();
    finishSetup();
}

MessageCentreScreen::~MessageCentreScreen() {
    // A run still going is cancelled; what it already sent is recorded.
    run_->disconnect(this);
    run_.reset();
}

void MessageCentreScreen::showMessages() {
    run(core::ErrorKind::Log, kCaption, [this] {
        model_->setMessages({});
        std::vector<CentreMessage> rows =
            MessageCentreStore(*session_.db).messages(optSent_->isChecked());
        if (rows.empty()) {
            session_.dialogs->information(kCaption, QStringLiteral("No data found in message."));
            return;
        }
        model_->setMessages(std::move(rows));
    });
}

void MessageCentreScreen::setAllTicked(bool ticked) {
    model_->setAllTicked(ticked);
}

void MessageCentreScreen::send() {
    run(core::ErrorKind::Log, kCaption, [this] {
        if (model_->rowCount() == 0 || run_->running())
            return;
        std::vector<OutgoingMessage> outgoing;
        for (int r = 0; r < model_->rowCount(); ++r)
            if (model_->ticked(r)) {
                const CentreMessage& m = model_->message(r);
                outgoing.push_back({m.recordId, m.mobile, m.message});
            }
        const CentreSettings settings = MessageCentreStore(*session_.db).loadSettings();
        const int total = static_cast<int>(outgoing.size());
        progress_ = new QProgressDialog(QStringLiteral("Sending messages: 0 of %1").arg(total),
                                        QStringLiteral("Cancel"), 0, total, this);
        progress_->setObjectName(QStringLiteral("PrgSend"));
        progress_->setWindowTitle(kCaption);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setMinimumDuration(0);
        connect(progress_, &QProgressDialog::canceled, run_.get(), &ResendRun::cancel);
        for (QWidget* w :
             std::initializer_list<QWidget*>{cmdSend_, cmdDelete_, optOutBox_, optSent_})
            w->setEnabled(false);
        progress_->show();
        run_->start(std::move(outgoing), settings, session_.shop.name.trimmed());
    });
}

void MessageCentreScreen::sendFinished(const RunSummary& summary) {
    if (progress_) {
        progress_->disconnect(run_.get());
        // Hidden now: a deferred delete waits until the boxes below are closed.
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{cmdSend_, cmdDelete_, optOutBox_, optSent_})
        w->setEnabled(true);
    // One word per outcome rather than a box per message of a long run.
    if (summary.modemSent > 0)
        session_.dialogs->information(kModemTitle,
                                      QStringLiteral("your message has been send successfully."));
    if (summary.modemFailed > 0)
        session_.dialogs->information(
            kModemTitle, QStringLiteral("Unable to send message. Message has saved in outbox."));
    session_.dialogs->information(kCaption, QStringLiteral("Done."));
    showMessages();
}

void MessageCentreScreen::deleteTicked() {
    run(core::ErrorKind::Log, kCaption, [this] {
        if (!session_.dialogs->yesNo(kCaption, QStringLiteral("Do you want to delete?")))
            return;
        std::vector<qint64> ids;
        for (int r = 0; r < model_->rowCount(); ++r)
            if (model_->ticked(r))
                ids.push_back(model_->message(r).recordId);
        MessageCentreStore(*session_.db).remove(ids);
        session_.dialogs->information(kCaption, QStringLiteral("Done."));
        showMessages();
    });
}

} // namespace stokara::messaging
