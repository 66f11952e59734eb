// Every text field of every entry screen is fed what a counter sees in a year
// (quotes, Hindi and Punjabi, a pasted page, numbers out of range, an
// impossible date, nothing, blanks), then the rest of the entry is typed and
// entered through and saved, as an operator would. Nothing may reach the
// database as an error; every value is stored as it stands in the field or
// refused with a message; and the screen then still saves a good entry.
#include "app/screens.h"
#include "core/database.h"
#include "core_ui/screen_support.h"
#include "demo/shop_generator.h"
#include "reliability.h"
#include "support/test_session.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace stokara;

namespace {

// One field of a good entry: "name=value" types the value, "name==" presses
// Enter on what the screen put there, a bare "name" is left alone unless it is
// the field tried. "%1" makes a value unique, "$..." is taken from the shop.
struct Step {
    QString field; // objectName of the line edit, or of the editable combo box
    QString text;
    bool touched = true;
    bool keep() const { return text == QLatin1String("="); }
};
struct Case {
    const char* screen;
    const char* save; // the button to click, "TxtMore" (Escape on it) or "close"
    const char* entry;
    int clearKey = 0; // how the operator starts the entry again, if the screen has a key

    std::vector<Step> steps() const {
        std::vector<Step> out;
        for (const QString& s : QString::fromUtf8(entry).split(QLatin1Char(';'))) {
            const qsizetype at = s.indexOf(QLatin1Char('='));
            out.push_back(at < 0 ? Step{s, {}, false} : Step{s.left(at), s.mid(at + 1)});
        }
        return out;
    }
};

const std::vector<Case> kCases = {
    {"FrmCompany", "CmdSave",
     "txtCompName=Kisan Dairy %1;txtAddress=Main Bazar;TxtCity=Rampura;TxtTelno=01652-224455;"
     "TxtMobile=919876543210;TxtTinNo=03AAKFK1234L1Z5"},
    {"masparty", "Command8",
     "TxtParty_name=RAM %1;txtadd1=Main Road;txtcity=Rampura;txtph=9876543210;TxtCardNo;"
     "TxtCreditLimit=2500;TxtComm;TxtCommBuff;Text3;TxtIFSC;TxtBankBranch;TxtFatherName;"
     "TxtAccountName"},
    {"FrmVendor", "Command8",
     "txtparty_name=GREEN AGRO %1;txtadd1=Main Road;txtcity=Rampura;txtph=98765"},
    {"frmmasitem", "Command8", "txtitem_name=FEED %1;LstUnit=BAG;txtrate=450;TxtOpeBal=0"},
    {"FrmHead", "Command8", "TxtHead=TEA %1;LstGroup=$PICK"},
    {"FrmBOM", "Command8", "DCMainItem=$ITEM;DcSubItem=$SUBITEM;TxtWt=1"},
    {"FrmItemsale", "TxtMore",
     "text2=$DATE;TxtCardNo;TxtPartyCode=$PARTY;Dc1;Item_name=$ITEM;TxtSaleAmount==;TxtQty=1;"
     "Txtunit;txtrate==",
     Qt::Key_F3},
    {"Frmitempurchase", "Command8",
     "text2=$DATE;DcParty=$VENDOR;Item_name=$ITEM;TxtQty=2;txtrate=100", Qt::Key_F3},
    {"FrmDayBook", "Command8", "text2=$DATE;dcHead=$PICK;TxtAmount=500;TxtRemark=cash", Qt::Key_F5},
    {"FrmCardRecharge", "Command8",
     "text2=$DATE;TxtPartyCode=$CARDPARTY;TxtAmount=500;TxtRemark=recharge", Qt::Key_F5},
    {"FrmOption_beta1", "close",
     "TxtSmsId=user%1;TxtSmsPwd=key;TxtSmsSenderName=DAIRY;TxtSmsGateway=http://127.0.0.1:9;"
     "TxtGatewayHost=sms.example.in;TxtGatewayUser=dairy;TxtGatewayPwd=key;"
     "TxtGatewaySender=DAIRY"},
};

// The first four must be stored exactly or refused; the rest may be taken in
// any sound way (a number, an empty field) but never as a database error.
const QStringList kValues = {
    QStringLiteral("O'Brien \"Bhai\" `x` \\ ;--"),
    QStringLiteral("दूध डेयरी"),
    QStringLiteral("ਦੁੱਧ ਡੇਅਰੀ"),
    QStringLiteral("x'").repeated(5000),
    QStringLiteral("1e308"),
    QStringLiteral("-1"),
    QStringLiteral("0"),
    QStringLiteral("31/02/2025"),
    QString(),
    QStringLiteral("   "),
};
constexpr int kTextual = 4;

// What a save says when it went through.
const QStringList kFine = {QStringLiteral("Do you want to save?"), QStringLiteral("Data Saved."),
                           QStringLiteral("Do you want to modify?"), QStringLiteral("Saved.")};

class Driver {
public:
    Driver(test::TestSession& t, reliability::Tally& tally, QString engine)
        : t_(t), tally_(tally), engine_(std::move(engine)) {
        app::registerAllScreens(registry_);
        auto& db = t_.db();
        const auto items = db.query(QStringLiteral("select item_name from masitem order by 1"));
        shop_[QStringLiteral("$ITEM")] = items.at(0).text(0);
        shop_[QStringLiteral("$SUBITEM")] = items.at(1).text(0);
        shop_[QStringLiteral("$DATE")] = t_.clock.today().toString(QStringLiteral("dd/MM/yyyy"));
        shop_[QStringLiteral("$PARTY")] =
            db.scalar(
                  QStringLiteral("select min(party_code) from masparty where category = 'MilkMan'"))
                .toString();
        shop_[QStringLiteral("$CARDPARTY")] =
            db.scalar(QStringLiteral("select min(party_code) from masparty where cardno is not "
                                     "null and cardno <> ''"))
                .toString();
        shop_[QStringLiteral("$VENDOR")] =
            db.scalar(QStringLiteral("select min(party_name) from MasVendor")).toString();
        const QString textTypes = db.isSqlite()
                                      ? QStringLiteral("select m.name, p.name from sqlite_master m "
                                                       "join pragma_table_info(m.name) p where "
                                                       "m.type = 'table' and (p.type like '%char%' "
                                                       "or p.type like '%text%')")
                                      : QStringLiteral("select table_name, column_name from "
                                                       "information_schema.columns where "
                                                       "table_schema = current_schema() and "
                                                       "data_type in ('character varying', "
                                                       "'text', 'character')");
        for (const auto& r : db.query(textTypes))
            textColumns_[r.text(0)] << r.text(1);
    }

    void run(const Case& c) {
        const std::vector<Step> steps = c.steps();
        for (int v = 0; v < kValues.size(); ++v)
            for (const Step& tried : steps) {
                QWidget* screen = registry_.create(QLatin1String(c.screen), t_.session);
                QWidget* w = screen ? field(screen, tried.field) : nullptr;
                const QString where =
                    QStringLiteral("%1 %2 %3 [%4]")
                        .arg(engine_, QLatin1String(c.screen), tried.field, kValues[v].left(12));
                if (!w) {
                    tally_.attempt(false, where + QStringLiteral(": no such screen or field"));
                    delete screen;
                    return;
                }
                if (!lineEdit(w)) {
                    delete screen; // a list takes no typing
                    continue;
                }
                screen->show();
                QApplication::setActiveWindow(screen);
                QTest::qWait(0);
                const auto outcome = enterAndSave(screen, c, steps, &tried, kValues[v]);
                if (qEnvironmentVariableIsSet("STOKARA_TRACE"))
                    std::printf("%s fed=%s refused=%s\n", qPrintable(where),
                                qPrintable(outcome.fed.left(20)),
                                qPrintable(outcome.refusal.join(" / ")));
                judge(where, outcome, v < kTextual && !tried.field.contains(QLatin1String("Pwd")));
                // The same screen then takes a good entry once the operator
                // has put right what was refused.
                if (c.clearKey)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key(c.clearKey));
                for (const Step& s : steps)
                    if (auto* edit = lineEdit(field(screen, s.field));
                        edit && (s.touched || &s == &tried) && !s.keep())
                        edit->setText(s.touched ? good(s, edit) : QString());
                const auto good = enterAndSave(screen, c, steps, nullptr, {});
                tally_.attempt(good.errors.isEmpty() && good.refusal.isEmpty(),
                               where + QStringLiteral(": a good entry afterwards: ") +
                                   (good.errors + good.refusal).join(QLatin1String(" / ")));
                delete screen;
            }
    }

private:
    struct Outcome {
        QString fed;                       // what the field showed once typed into
        QStringList refusal;               // messages other than the save's own
        QStringList errors;                // database errors shown or logged
        int heldBefore = 0, heldAfter = 0; // rows holding what was fed
        bool masked = false;               // a date: its mask shapes what is kept
    };

    static QWidget* field(QWidget* screen, const QString& name) {
        return screen->findChild<QWidget*>(name);
    }

    static QLineEdit* lineEdit(QWidget* w) {
        auto* box = qobject_cast<QComboBox*>(w);
        return box ? box->lineEdit() : qobject_cast<QLineEdit*>(w);
    }

    // Types as a paste does: the field's own length limit and mask apply. A
    // list takes its first entry.
    static void type(QWidget* w, const QString& text) {
        w->setFocus();
        if (auto* box = qobject_cast<QComboBox*>(w); box && !box->isEditable()) {
            box->setCurrentIndex(box->count() > 0 ? 0 : -1);
        } else if (QLineEdit* edit = lineEdit(w)) {
            edit->selectAll();
            edit->del();
            edit->insert(text);
        }
    }

    QString good(const Step& s, QWidget* w) {
        if (s.text == QLatin1String("$PICK")) {
            auto* box = qobject_cast<QComboBox*>(w ? w->parentWidget() : nullptr);
            return box && box->count() > 0 ? box->itemText(0) : QString();
        }
        if (s.text.startsWith(QLatin1Char('$')))
            return shop_.value(s.text);
        return s.text.contains(QLatin1String("%1")) ? s.text.arg(++serial_) : s.text;
    }

    Outcome enterAndSave(QWidget* screen, const Case& c, const std::vector<Step>& steps,
                         const Step* tried, const QString& value) {
        Outcome out;
        t_.dialogs.clear();
        const int logged = t_.db().scalar(QStringLiteral("select count(*) from ErrorDesc")).toInt();
        auto stopped = [&] {
            for (const auto& m : t_.dialogs.shown)
                if (!kFine.contains(m.text) && m.buttons == core::Buttons::Ok)
                    return true;
            return false;
        };
        for (const Step& s : steps) {
            QWidget* w = field(screen, s.field);
            const bool isTried = &s == tried;
            if (!w || !w->isVisible() || !w->isEnabled() || (!isTried && !s.touched))
                continue; // left as the screen has it
            if (isTried || !s.keep())
                type(w, isTried ? value : good(s, lineEdit(w)));
            w->setFocus();
            if (isTried) {
                out.fed = lineEdit(w)->text();
                out.masked = !lineEdit(w)->inputMask().isEmpty();
            }
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w,
                            Qt::Key_Return);
            if (stopped())
                break;
        }
        // What the screen shows just before the save is what it must store
        // (it may have put a name in capitals, say).
        if (tried && !out.fed.isEmpty())
            out.fed = lineEdit(field(screen, tried->field))->text();
        const int held = out.fed.trimmed().isEmpty() ? 0 : holding(out.fed);
        if (!stopped()) {
            const QString save = QLatin1String(c.save);
            if (save == QLatin1String("close")) {
                screen->close();
                if (!screen->isVisible())
                    screen->show(); // the next try types into it again
            } else if (save == QLatin1String("TxtMore")) {
                if (auto* more = field(screen, c.save); more && more->isVisible())
                    QTest::keyClick(more, Qt::Key_Escape);
            } else if (auto* button = screen->findChild<QPushButton*>(save);
                       button && button->isEnabled()) {
                button->click();
            }
        }
        for (const auto& m : t_.dialogs.shown) {
            if (m.text.startsWith(QLatin1String("An error has occured.")))
                out.errors << m.text.simplified();
            else if (!kFine.contains(m.text) && m.buttons == core::Buttons::Ok)
                out.refusal << m.text;
        }
        if (!out.fed.trimmed().isEmpty()) {
            out.heldBefore = held;
            out.heldAfter = holding(out.fed);
        }
        const int nowLogged =
            t_.db().scalar(QStringLiteral("select count(*) from ErrorDesc")).toInt();
        if (nowLogged != logged)
            out.errors << QStringLiteral("%1 error(s) logged: ").arg(nowLogged - logged) +
                              t_.db()
                                  .scalar(QStringLiteral("select max(ErrorDescription) from "
                                                         "ErrorDesc"))
                                  .toString();
        return out;
    }

    void judge(const QString& where, const Outcome& out, bool mustBeStored) {
        tally_.attempt(out.errors.isEmpty(), where + QStringLiteral(": ") + out.errors.join(' '));
        if (!mustBeStored || !out.refusal.isEmpty() || out.fed.trimmed().isEmpty() || out.masked)
            return;
        tally_.attempt(out.heldAfter > out.heldBefore,
                       where + QStringLiteral(": neither stored as typed nor refused"));
    }

    // Rows holding the text in any text column: a save stored it when this grows.
    int holding(const QString& text) {
        int rows = 0;
        for (auto t = textColumns_.cbegin(); t != textColumns_.cend(); ++t) {
            QStringList tests;
            QVariantList values;
            for (const QString& column : *t) {
                tests << QStringLiteral("\"%1\" = ?").arg(column);
                values << text;
            }
            rows += t_.db()
                        .scalar(QStringLiteral("select count(*) from \"%1\" where %2")
                                    .arg(t.key(), tests.join(QLatin1String(" or "))),
                                values)
                        .toInt();
        }
        return rows;
    }

    test::TestSession& t_;
    reliability::Tally& tally_;
    QString engine_;
    core_ui::ScreenRegistry registry_;
    QHash<QString, QString> shop_;
    QHash<QString, QStringList> textColumns_;
    int serial_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    reliability::Tally tally(QStringLiteral("bad_input"));
    QStringList engines{QStringLiteral("sqlite")};
    if (qEnvironmentVariableIsEmpty("STOKARA_TEST_PG"))
        std::printf("  bad_input: STOKARA_TEST_PG not set, SQLite only\n");
    else
        engines << QStringLiteral("postgres");
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (const QString& engine : engines) {
        qputenv("STOKARA_TEST_ENGINE", engine.toLatin1());
        // Each screen on a shop of its own: what one screen stored is not
        // found by another's look-ups.
        for (const Case& c : kCases) {
            if (!only.isEmpty() && only != QLatin1String(c.screen))
                continue;
            try {
                test::TestSession t;
                demo::generateShop(t.db(), demo::GenerateOptions::demoShop(t.clock.today()));
                Driver(t, tally, engine).run(c);
            } catch (const std::exception& e) {
                tally.attempt(false,
                              engine + QStringLiteral(" %1: %2").arg(QLatin1String(c.screen),
                                                                     QString::fromUtf8(e.what())));
            }
        }
    }
    return tally.finish();
}
