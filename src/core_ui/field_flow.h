#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

namespace stokara::core_ui {

// How a field's handler was reached.
enum class Via { Enter, Leave };

// The one way every screen handles Enter and the leaving of a field.
//
// Fields added with add() form the Enter order. Enter runs the field's handler
// (Via::Enter); when it returns true the focus moves to the next enabled,
// visible field of the order, else it stays (or goes where the handler sent
// it). Enter on a button without a handler clicks it. Leaving a field by mouse
// or Tab runs the same handler with Via::Leave; a message box, a popup or the
// menu bar taking the focus is not leaving, and neither is a move made with
// moveFocus(), so a handler never runs twice for one Enter.
class FieldFlow : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(Via)>;
    using KeyHandler = std::function<bool(int key)>;

    explicit FieldFlow(QObject* owner);

    FieldFlow& add(QWidget* field, Handler handler = {});
    // A field outside the Enter order whose Enter and leave still run a handler.
    FieldFlow& watch(QWidget* field, Handler handler);
    // Runs when the field receives the focus.
    FieldFlow& onEntering(QWidget* field, std::function<void()> handler);
    // Other keys of one field (Escape, say); returns whether the key was used.
    FieldFlow& onKey(QWidget* field, KeyHandler handler);

    // Moves the focus without running the leave handler of the field that had
    // it; the text of a line edit is selected for typing over.
    void moveFocus(QWidget* target);
    // Moves to the field after `from` in the Enter order; returns it (or null).
    QWidget* focusNext(QWidget* from);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Field {
        QWidget* widget = nullptr;
        Handler handler;
        bool inOrder = false;
        std::function<void()> entering;
        KeyHandler keys;
    };
    Field& entry(QWidget* widget);
    Field* find(QObject* widget);

    std::vector<Field> fields_;
    bool moving_ = false;
    bool running_ = false;
};

} // namespace stokara::core_ui
