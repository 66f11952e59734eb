#include "screen_support.h"

#include "core/idioms.h"
#include "core/session.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <vector>

namespace stokara::core_ui {

namespace {

class EnterChainImpl : public QObject, public EnterChain {
public:
    explicit EnterChainImpl(QObject* owner) : QObject(owner) {}

    EnterChain& add(QWidget* field, std::function<bool()> check) override {
        fields_.push_back({field, std::move(check)});
        field->installEventFilter(this);
        return *this;
    }

    QWidget* focusNext(QWidget* field) override {
        size_t i = indexOf(field);
        if (i == fields_.size())
            return nullptr;
        for (size_t j = i + 1; j < fields_.size(); ++j) {
            QWidget* next = fields_[j].widget;
            if (next && next->isEnabled() && !next->isHidden()) {
                next->setFocus(Qt::TabFocusReason);
                if (auto* edit = qobject_cast<QLineEdit*>(next))
                    edit->selectAll();
                return next;
            }
        }
        return nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        size_t i = indexOf(widget);
        if (i == fields_.size())
            return false;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (!fields_[i].check) {
                button->click();
                return true;
            }
        }
        if (fields_[i].check && !fields_[i].check())
            return true;
        focusNext(widget);
        return true;
    }

private:
    struct Field {
        QWidget* widget;
        std::function<bool()> check;
    };
    size_t indexOf(QWidget* w) const {
        for (size_t i = 0; i < fields_.size(); ++i)
            if (fields_[i].widget == w)
                return i;
        return fields_.size();
    }
    std::vector<Field> fields_;
};

} // namespace

void onScreenLoad(QWidget* screen, const Session& session) {
    if (session.captionApplier)
        session.captionApplier(screen, session);
}

void ScreenRegistry::add(const QString& screenName, ScreenFactory factory) {
    factories_.insert(screenName, std::move(factory));
}

QWidget* ScreenRegistry::create(const QString& screenName, Session& session) const {
    auto it = factories_.find(screenName);
    if (it == factories_.end())
        return nullptr;
    return it.value()(session);
}

void setupDateField(QLineEdit* field, const QDate& initial) {
    field->setInputMask(QString::fromLatin1(core::kDateMask));
    setDateField(field, initial);
}

void setDateField(QLineEdit* field, const QDate& date) {
    if (date.isValid())
        field->setText(core::formatDate(date));
    else
        field->clear();
}

std::optional<QDate> dateFieldValue(const QLineEdit* field) {
    return core::parseDate(field->displayText());
}

EnterChain* makeEnterChain(QObject* owner) {
    return new EnterChainImpl(owner);
}

} // namespace stokara::core_ui
