#pragma once

#include <QString>

#include <array>
#include <functional>

class QWidget;

namespace stokara::core {

class Database;
class Dialogs;
class Clock;
class Navigator;

// The shop's own record, read from compmaster at start-up.
struct ShopInfo {
    QString name;
    QString address;
    QString city;
    QString mobile;
    QString tinNo;
    QString upiId;    // the shop's UPI ID, for a payment QR on the bills
    QString upiPayee; // the name the payment app shows
};

// What every screen shares after login. Passed explicitly; nothing here is global.
// The pointers are owned by whoever built the session (main(), or a test
// fixture) and outlive every screen.
struct Session;
// Applies the caption table of the chosen language to a screen.
using CaptionApplier = std::function<void(QWidget* screen, const Session& session)>;

struct Session {
    Database* db = nullptr;
    Dialogs* dialogs = nullptr;
    Clock* clock = nullptr;

    ShopInfo shop;
    QString loginCompany;
    // "itemsale" or "itempurchase", set by the report menu before a statement screen.
    QString statementKind;
    // Caption-language flags, each "Y" or empty: Hindi, Punjabi, the third language, English.
    std::array<QString, 4> languageFlags;
    // A party name the sale screen hands to the party master for a new party.
    QString newAccountName;
    // Opens other screens for a screen; null where no main window exists (tests,
    // command line).
    Navigator* navigator = nullptr;
    QString dataDir;
    QString backupDir; // preferred backup place; empty when none was given
    // This counter's own backup folder for this run, chosen at its start (the
    // preferred place when usable, else the data folder); the login backup
    // goes here. Empty: no folder was chosen.
    QString backupFolder;
    // The folder a report was last saved to in this run; the next save starts there.
    QString exportFolder;
    // Installed by the presentation module; empty keeps the built-in captions.
    CaptionApplier captionApplier;
};

} // namespace stokara::core
