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
    void saveAsXlsx();
    // The name a saved file is offered under, without its extension: the
    // report, its account and its period ("party-ledger_3_2026-04-01_2026-04-30").
    void setFileStem(const QString& stem) { fileStem_ = stem; }
    // The last file saved or printer used, as the status line says it.
    QString status() const;
    bool busy() const { return job_ != nullptr; } // printing or saving a PDF

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct PageJob;
    using PageWork = std::function<void(const Pages& pages, const PageProgress& progress)>;
    // Runs `work` in a worker thread; `label` takes the pages done and to do.
    // `done` is told on the status line when the job ends whole.
    void runPageJob(const QString& handler, const QString& label, int total, PageWork work,
                    const QString& done);
    void pageJobFinished(const QString& handler, const QString& done);
    // The path a save offers in the last folder used (else the data folder's
    // exports/), and the file the operator chose; empty when cancelled.
    QString chooseFile(const QString& title, const QString& filter, const QString& suffix);
    void render();

    core::Session& session_;
    Report report_;
    Pages pages_;
    QString title_;
    QString fileStem_;
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
    QLabel* status_;
    QThread* job_ = nullptr;
    std::shared_ptr<PageJob> jobState_;
    QProgressDialog* progress_ = nullptr;
    QTimer* progressTimer_ = nullptr;
};

// Shows a report's preview through the main window, or as a window of its own
// where there is none; returns it. `fileStem` names a saved file.
PreviewWindow* showPreview(core::Session& session, Report report, const QString& title,
                           const QString& fileStem = {});

} // namespace stokara::reports
