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

// Enter in one field runs its check and moves to the next field of the chain
// (skipping hidden and disabled ones). A check that returns false keeps the
// focus where it is. The chain is owned by the screen (its QObject parent).
class EnterChain;
EnterChain* makeEnterChain(QObject* owner);
class EnterChain {
public:
    virtual ~EnterChain() = default;
    // Adds a field; check runs on Enter before moving on.
    virtual EnterChain& add(QWidget* field, std::function<bool()> check = {}) = 0;
    // Moves focus to the field after `field`; returns that field (or nullptr).
    virtual QWidget* focusNext(QWidget* field) = 0;
};

} // namespace stokara::core_ui
