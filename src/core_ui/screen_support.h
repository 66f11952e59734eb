#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

class QDate;
class QLineEdit;
class QObject;
class QWidget;

namespace stokara::core {
struct Session;
}

namespace stokara::core_ui {

using core::Session;

// Every screen calls this from its constructor once its controls exist: it
// applies the caption table of the chosen language, when one is chosen.
void onScreenLoad(QWidget* screen, const Session& session);

// Screens by their object name ("masparty", "FrmItemsale"), so the main
// window's menu table can open them and leave unbuilt ones disabled.
using ScreenFactory = std::function<QWidget*(Session& session)>;
class ScreenRegistry {
public:
    void add(const QString& screenName, ScreenFactory factory);
    bool has(const QString& screenName) const { return factories_.contains(screenName); }
    QWidget* create(const QString& screenName, Session& session) const;
    QStringList names() const { return factories_.keys(); }

private:
    QHash<QString, ScreenFactory> factories_;
};

// A date field: masked "__/__/____", filled with the given date.
void setupDateField(QLineEdit* field, const QDate& initial);
void setDateField(QLineEdit* field, const QDate& date); // invalid date shows the empty mask
std::optional<QDate> dateFieldValue(const QLineEdit* field);

} // namespace stokara::core_ui
