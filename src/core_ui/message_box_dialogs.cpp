#include "message_box_dialogs.h"

#include "core/app_info.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace stokara::core_ui {

namespace {

QString titleOr(const QString& title) {
    return title.isEmpty() ? core::applicationTitle() : title;
}

QWidget* parentWindow() {
    return QApplication::activeWindow();
}

} // namespace

Answer MessageBoxDialogs::message(Icon icon, const QString& title, const QString& text,
                                  Buttons buttons) {
    // A failure shown while a busy cursor is up must not leave the cursor busy.
    if (icon == Icon::Critical)
        QGuiApplication::restoreOverrideCursor();
    QMessageBox box(parentWindow());
    box.setWindowTitle(titleOr(title));
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    QGuiApplication::restoreOverrideCursor();
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> MessageBoxDialogs::input(const QString& title, const QString& prompt,
                                                const QString& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(parentWindow(), titleOr(title), prompt, QLineEdit::Normal,
                                         initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString MessageBoxDialogs::openFile(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parentWindow(), titleOr(title), QString(), filter);
}

QString MessageBoxDialogs::saveFile(const QString& title, const QString& filter,
                                    const QString& suggested) {
    return QFileDialog::getSaveFileName(parentWindow(), titleOr(title), suggested, filter);
}

} // namespace stokara::core_ui
