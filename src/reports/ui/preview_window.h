#pragma once

#include "reports/engine/pages.h"
#include "reports/engine/report.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace stokara::core {
struct Session;
}

namespace stokara::reports {

// The preview of one report inside the main window: pages, zoom, Print (the
// print dialog with the default printer chosen), Save as PDF, Save as CSV.
// PgUp/PgDn turn pages, Ctrl+P prints, Escape closes.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(core::Session& session, Report report, const QString& title,
                  QWidget* parent = nullptr);

    const Pages& pages() const { return pages_; }
    const Report& report() const { return report_; }
    int currentPage() const { return page_; } // 0-based
    void showPage(int page);
    void setZoom(int percent);
    void print();
    void saveAsPdf();
    void saveAsCsv();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void render();

    core::Session& session_;
    Report report_;
    Pages pages_;
    QString title_;
    int page_ = 0;
    int zoom_ = 100;
    QScrollArea* scroll_;
    QLabel* image_;
    QLabel* pageLabel_;
    QComboBox* zoomList_;
    QPushButton* first_;
    QPushButton* previous_;
    QPushButton* next_;
    QPushButton* last_;
};

// Shows a report's preview through the main window, or as a window of its own
// where there is none; returns it.
PreviewWindow* showPreview(core::Session& session, Report report, const QString& title);

} // namespace stokara::reports
