#pragma once

#include "core/entry_cycle.h"
#include "core/errors.h"
#include "core/input_rules.h"
#include "field_flow.h"

#include <QWidget>

#include <functional>

namespace stokara::core {
struct Session;
}

namespace stokara::core_ui {

// The base of every entry screen: the load / correct / save / delete cycle
// (through core::EntryCycle), function keys from any of its controls, Enter
// and leave handling (FieldFlow) and failures reported the screen's way.
// A screen keeps its own object names, fields, messages and keys.
class EntryScreen : public QWidget {
    Q_OBJECT
public:
    // Whether the next Save corrects the loaded entry.
    bool correcting() const { return cycle_.correcting(); }
    // The key of the entry loaded into the fields; invalid when none is.
    QVariant loadedEntry() const { return cycle_.loadedKey(); }

protected:
    EntryScreen(core::Session& session, const QString& objectName, const QString& caption,
                QWidget* parent);

    // Call at the end of the screen's constructor, once its controls exist:
    // function keys reach functionKey() from every control, and the caption
    // language is applied.
    void finishSetup();
    // A function key pressed anywhere on the screen; returns whether it was
    // used. A key whose handler failed is still spent.
    virtual bool functionKey(int key);
    // How a failing function key is reported (default: shown as "Form_KeyDown").
    void setKeyErrorReport(core::ErrorKind kind, const QString& procedure);

    // Runs a handler; a failure is reported as `kind` under `procedure` and
    // never ends the program.
    bool run(core::ErrorKind kind, const QString& procedure, const std::function<void()>& body);

    // Save: an insert, or the update of the loaded entry when correcting.
    // Tells the operator (titled `title`) when nothing could be written;
    // returns whether something was.
    bool saveEntry(const QString& title, const std::function<void()>& insert,
                   const std::function<bool(const QVariant& key)>& update);
    // Deletes one entry; says "This entry no longer exists." when it hit nothing.
    bool deleteEntry(const QString& title, const QVariant& key,
                     const std::function<bool(const QVariant& key)>& del);
    // Shows a refusal and puts the focus on its field, when it names one.
    void refuse(const QString& title, const core::Problem& problem);

    FieldFlow& flow() { return *flow_; }
    core::EntryCycle& cycle() { return cycle_; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    core::Session& session_;

private:
    bool reportOutcome(const QString& title, core::WriteOutcome outcome);
    bool dispatchKey(int key);

    core::EntryCycle cycle_;
    FieldFlow* flow_;
    core::ErrorKind keyErrorKind_ = core::ErrorKind::Show;
    QString keyErrorProcedure_ = QStringLiteral("Form_KeyDown");
};

} // namespace stokara::core_ui
