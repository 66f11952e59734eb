#pragma once

#include "reports/engine/output.h"
#include "reports/engine/pages.h"
#include "reports/engine/report.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QProgressDialog;
class QPushButton;
class QScrollArea;
class QThread;
class QTimer;

namespace stokara::core {
struct Session;
}

namespace stokara::reports {

// The preview of one report inside the main window: pages, zoom, Print (the
// print dialog with the default printer chosen), Save as PDF, Save as CSV.
// PgUp/PgDn turn pages, Ctrl+P prints, Escape closes. Printing and the PDF
// run in a worker thread on pages of their own, with a dialog that counts the
// pages and can cancel; the preview stays usable meanwhile.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(core::Session& session, Report report, const QString& title,
                  QWidget* parent = nullptr);
    ~PreviewWindow() override;

    const Pages& pages() const { return pages_; }
    const Report& report() const { return report_; }
    int currentPage() const { return page_; } // 0-based
    void showPage(int page);
    void setZoom(int percent);
    void print();
    void saveAsPdf();
    void saveAsCsv();
    bool busy() const { return job_ != nullptr; } // printing or saving a PDF

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct PageJob;
    using PageWork = std::function<void(const Pages& pages, const PageProgress& progress)>;
    // Runs `work` in a worker thread; `label` takes the pages done and to do.
    void runPageJob(const QString& handler, const QString& label, int total, PageWork work);
    void pageJobFinished(const QString& handler);
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
    QPushButton* print_;
    QPushButton* pdf_;
    QThread* job_ = nullptr;
    std::shared_ptr<PageJob> jobState_;
    QProgressDialog* progress_ = nullptr;
    QTimer* progressTimer_ = nullptr;
};

// Shows a report's preview through the main window, or as a window of its own
// where there is none; returns it.
PreviewWindow* showPreview(core::Session& session, Report report, const QString& title);

} // namespace stokara::reports
