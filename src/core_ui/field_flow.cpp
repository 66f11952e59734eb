#include "field_flow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace stokara::core_ui {

FieldFlow::FieldFlow(QObject* owner) : QObject(owner) {}

FieldFlow::Field& FieldFlow::entry(QWidget* widget) {
    if (Field* f = find(widget))
        return *f;
    widget->installEventFilter(this);
    fields_.push_back(Field{widget, {}, false, {}, {}});
    return fields_.back();
}

FieldFlow::Field* FieldFlow::find(QObject* widget) {
    for (Field& f : fields_)
        if (f.widget == widget)
            return &f;
    return nullptr;
}

FieldFlow& FieldFlow::add(QWidget* field, Handler handler) {
    Field& f = entry(field);
    f.handler = std::move(handler);
    f.inOrder = true;
    return *this;
}

FieldFlow& FieldFlow::watch(QWidget* field, Handler handler) {
    entry(field).handler = std::move(handler);
    return *this;
}

FieldFlow& FieldFlow::onEntering(QWidget* field, std::function<void()> handler) {
    entry(field).entering = std::move(handler);
    return *this;
}

FieldFlow& FieldFlow::onKey(QWidget* field, KeyHandler handler) {
    entry(field).keys = std::move(handler);
    return *this;
}

void FieldFlow::moveFocus(QWidget* target) {
    if (!target)
        return;
    const bool was = moving_;
    moving_ = true;
    target->setFocus(Qt::OtherFocusReason);
    moving_ = was;
    if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->selectAll();
    else if (auto* list = qobject_cast<QComboBox*>(target); list && list->lineEdit())
        list->lineEdit()->selectAll();
}

QWidget* FieldFlow::focusNext(QWidget* from) {
    size_t i = 0;
    while (i < fields_.size() && fields_[i].widget != from)
        ++i;
    for (size_t j = i + 1; j < fields_.size(); ++j) {
        QWidget* next = fields_[j].widget;
        if (fields_[j].inOrder && next && next->isEnabled() && next->isVisibleTo(next->window())) {
            moveFocus(next);
            return next;
        }
    }
    return nullptr;
}

bool FieldFlow::eventFilter(QObject* watched, QEvent* event) {
    Field* f = find(watched);
    if (!f)
        return false;
    QWidget* widget = f->widget;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (f->keys && f->keys(key))
            return true;
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        if (!f->handler) {
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                button->click();
                return true;
            }
            if (!f->inOrder)
                return false;
            focusNext(widget);
            return true;
        }
        // The handler may show a message box or destroy the field's screen:
        // read nothing of `f` after it.
        const bool inOrder = f->inOrder;
        const Handler handler = f->handler;
        running_ = true;
        const bool next = handler(Via::Enter);
        running_ = false;
        if (next && inOrder)
            focusNext(widget);
        return true;
    }
    case QEvent::FocusIn:
        if (f->entering)
            f->entering();
        return false;
    case QEvent::FocusOut: {
        if (moving_ || running_ || !f->handler)
            return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason)
            return false;
        const Handler handler = f->handler;
        running_ = true;
        handler(Via::Leave);
        running_ = false;
        return false;
    }
    default:
        return false;
    }
}

} // namespace stokara::core_ui
