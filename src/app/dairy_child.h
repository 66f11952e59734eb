#pragma once

#include <QWidget>

namespace stokara::app {

// The picture the main window shows behind the screens: a milk can, a few
// cattle-feed sacks and the shop's name line, drawn rather than shipped.
class DairyChild : public QWidget {
public:
    explicit DairyChild(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {520, 340}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace stokara::app
