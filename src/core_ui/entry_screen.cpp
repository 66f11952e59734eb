#include "entry_screen.h"

#include "core/dialogs.h"
#include "core/session.h"
#include "screen_support.h"

#include <QKeyEvent>

namespace stokara::core_ui {

EntryScreen::EntryScreen(core::Session& session, const QString& objectName, const QString& caption,
                         QWidget* parent)
    : QWidget(parent), session_(session), flow_(new FieldFlow(this)) {
    setObjectName(objectName);
    setWindowTitle(caption);
}

void EntryScreen::finishSetup() {
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    onScreenLoad(this, session_);
}

bool EntryScreen::functionKey(int) {
    return false;
}

void EntryScreen::setKeyErrorReport(core::ErrorKind kind, const QString& procedure) {
    keyErrorKind_ = kind;
    keyErrorProcedure_ = procedure;
}

bool EntryScreen::run(core::ErrorKind kind, const QString& procedure,
                      const std::function<void()>& body) {
    return core::guarded(session_, kind, procedure, body);
}

bool EntryScreen::dispatchKey(int key) {
    bool used = true;
    run(keyErrorKind_, keyErrorProcedure_, [&] { used = functionKey(key); });
    return used;
}

bool EntryScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12 && dispatchKey(key))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void EntryScreen::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12 && dispatchKey(key))
        return;
    QWidget::keyPressEvent(event);
}

bool EntryScreen::reportOutcome(const QString& title, core::WriteOutcome outcome) {
    const QString message = core::outcomeMessage(outcome);
    if (message.isEmpty())
        return true;
    session_.dialogs->information(title, message);
    return false;
}

bool EntryScreen::saveEntry(const QString& title, const std::function<void()>& insert,
                            const std::function<bool(const QVariant& key)>& update) {
    return reportOutcome(title, cycle_.save(insert, update));
}

bool EntryScreen::deleteEntry(const QString& title, const QVariant& key,
                              const std::function<bool(const QVariant& key)>& del) {
    return reportOutcome(title, cycle_.remove(key, del));
}

void EntryScreen::refuse(const QString& title, const core::Problem& problem) {
    session_.dialogs->information(title, problem.message);
    if (problem.field.isEmpty())
        return;
    if (auto* field = findChild<QWidget*>(problem.field))
        flow_->moveFocus(field);
}

} // namespace stokara::core_ui
