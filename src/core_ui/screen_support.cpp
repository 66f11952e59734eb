#include "screen_support.h"

#include "core/idioms.h"
#include "core/session.h"

#include <QLineEdit>
#include <QWidget>

namespace stokara::core_ui {

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

} // namespace stokara::core_ui
