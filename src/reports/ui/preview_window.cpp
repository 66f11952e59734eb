#include "preview_window.h"

#include "core/dialogs.h"
#include "core/errors.h"
#include "core/navigator.h"
#include "core/session.h"
#include "reports/engine/output.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <exception>

namespace stokara::reports {

namespace {

QPushButton* button(QWidget* parent, QHBoxLayout* bar, const QString& name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus); // the keys stay with the preview
    bar->addWidget(b);
    return b;
}

QString safeFileName(const QString& title) {
    QString name = title;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]+")), QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("report") : name;
}

QString savedText(const QString& path) {
    return QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(path));
}

} // namespace

PreviewWindow::PreviewWindow(core::Session& session, Report report, const QString& title,
                             QWidget* parent)
    : QWidget(parent), session_(session), report_(std::move(report)), title_(title) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(title);
    setFocusPolicy(Qt::StrongFocus);
    pages_ = layOut(report_);

    auto* bar = new QHBoxLayout;
    first_ = button(this, bar, QStringLiteral("cmdFirst"), QStringLiteral("|<"));
    previous_ = button(this, bar, QStringLiteral("cmdPrevious"), QStringLiteral("<"));
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("lblPage"));
    bar->addWidget(pageLabel_);
    next_ = button(this, bar, QStringLiteral("cmdNext"), QStringLiteral(">"));
    last_ = button(this, bar, QStringLiteral("cmdLast"), QStringLiteral(">|"));
    zoomList_ = new QComboBox(this);
    zoomList_->setObjectName(QStringLiteral("cboZoom"));
    zoomList_->setFocusPolicy(Qt::NoFocus);
    for (int percent : {50, 75, 100, 125, 150, 200})
        zoomList_->addItem(QStringLiteral("%1%").arg(percent), percent);
    zoomList_->setCurrentIndex(2);
    bar->addWidget(zoomList_);
    print_ = button(this, bar, QStringLiteral("cmdPrint"), QStringLiteral("&Print"));
    pdf_ = button(this, bar, QStringLiteral("cmdPdf"), QStringLiteral("Save as PD&F"));
    QPushButton* csv = button(this, bar, QStringLiteral("cmdCsv"), QStringLiteral("Save as &CSV"));
    QPushButton* xlsx =
        button(this, bar, QStringLiteral("cmdXlsx"), QStringLiteral("Save as &Spreadsheet"));
    QPushButton* close = button(this, bar, QStringLiteral("cmdClose"), QStringLiteral("Close"));
    bar->addStretch();

    image_ = new QLabel;
    image_->setObjectName(QStringLiteral("PageImage"));
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("PageArea"));
    scroll_->setWidget(image_);
    scroll_->setAlignment(Qt::AlignHCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setFocusPolicy(Qt::NoFocus);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    layout->addWidget(status_);

    connect(first_, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(previous_, &QPushButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(last_, &QPushButton::clicked, this, [this] { showPage(pages_.count() - 1); });
    connect(zoomList_, &QComboBox::currentIndexChanged, this,
            [this](int index) { setZoom(zoomList_->itemData(index).toInt()); });
    connect(print_, &QPushButton::clicked, this, &PreviewWindow::print);
    connect(pdf_, &QPushButton::clicked, this, &PreviewWindow::saveAsPdf);
    connect(csv, &QPushButton::clicked, this, &PreviewWindow::saveAsCsv);
    connect(xlsx, &QPushButton::clicked, this, &PreviewWindow::saveAsXlsx);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* printKey = new QShortcut(QKeySequence::Print, this);
    printKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(printKey, &QShortcut::activated, this, &PreviewWindow::print);
    resize(900, 700);
    render();
}

void PreviewWindow::showPage(int page) {
    const int target = qBound(0, page, pages_.count() - 1);
    if (target == page_ && !image_->pixmap().isNull())
        return;
    page_ = target;
    render();
}

void PreviewWindow::setZoom(int percent) {
    zoom_ = qBound(25, percent, 400);
    render();
}

void PreviewWindow::render() {
    const double dpi = 96.0 * zoom_ / 100.0;
    const double dpmm = dpi / 25.4;
    QImage image(qRound(pages_.width * dpmm), qRound(pages_.height * dpmm), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintPage(painter, pages_, page_);
    }
    image_->setPixmap(QPixmap::fromImage(image));
    image_->resize(image.size());
    pageLabel_->setText(QStringLiteral("%1 of %2").arg(page_ + 1).arg(pages_.count()));
    first_->setEnabled(page_ > 0);
    previous_->setEnabled(page_ > 0);
    next_->setEnabled(page_ + 1 < pages_.count());
    last_->setEnabled(page_ + 1 < pages_.count());
}

// What the worker and the window share: the pages done, the cancel, the failure.
struct PreviewWindow::PageJob {
    std::atomic<int> done{0};
    std::atomic<bool> cancel{false};
    std::exception_ptr error;
};

PreviewWindow::~PreviewWindow() {
    if (job_) {
        // The worker stops after the page in hand; its report is its own copy.
        jobState_->cancel = true;
        job_->wait();
        delete job_;
    }
}

void PreviewWindow::runPageJob(const QString& handler, const QString& label, int total,
                               PageWork work, const QString& done) {
    if (job_)
        return;
    auto state = std::make_shared<PageJob>();
    // The worker lays out pages of its own: the preview's are made on demand
    // on this thread.
    job_ = QThread::create([state, report = report_, work = std::move(work)] {
        try {
            work(layOut(report), [&state](int done, int) {
                state->done = done;
                return !state->cancel;
            });
        } catch (...) {
            state->error = std::current_exception();
        }
    });
    jobState_ = state;
    progress_ =
        new QProgressDialog(label.arg(0).arg(total), QStringLiteral("Cancel"), 0, total, this);
    progress_->setObjectName(QStringLiteral("PrgPages"));
    progress_->setWindowTitle(title_);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(500); // a bill of a page or two shows no dialog
    connect(progress_, &QProgressDialog::canceled, this, [state] { state->cancel = true; });
    progressTimer_ = new QTimer(this);
    connect(progressTimer_, &QTimer::timeout, this, [this, state, label, total] {
        const int done = state->done;
        progress_->setValue(done);
        progress_->setLabelText(label.arg(done).arg(total));
    });
    connect(job_, &QThread::finished, this,
            [this, handler, done] { pageJobFinished(handler, done); });
    print_->setEnabled(false);
    pdf_->setEnabled(false);
    progressTimer_->start(100);
    job_->start();
}

void PreviewWindow::pageJobFinished(const QString& handler, const QString& done) {
    const std::shared_ptr<PageJob> state = std::move(jobState_);
    progressTimer_->stop(); // no tick may reach the dialog going below
    progressTimer_->deleteLater();
    progressTimer_ = nullptr;
    // Hidden now: a deferred delete waits until a message box below is closed.
    progress_->hide();
    progress_->deleteLater();
    progress_ = nullptr;
    job_->wait();
    delete job_;
    job_ = nullptr;
    print_->setEnabled(true);
    pdf_->setEnabled(true);
    if (state->error)
        core::guarded(session_, core::ErrorKind::Show, handler,
                      [&] { std::rethrow_exception(state->error); });
    else if (!state->cancel)
        status_->setText(done);
}

QString PreviewWindow::status() const {
    return status_->text();
}

QString PreviewWindow::chooseFile(const QString& title, const QString& filter,
                                  const QString& suffix) {
    QString folder = session_.exportFolder;
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir(session_.dataDir.isEmpty() ? QDir::homePath() : session_.dataDir)
                     .filePath(QStringLiteral("exports"));
        QDir().mkpath(folder); // a chooser offered a folder that is not there opens elsewhere
    }
    const QString stem = safeFileName(fileStem_.isEmpty() ? title_ : fileStem_);
    const QString path =
        session_.dialogs->saveFile(title, filter, QDir(folder).filePath(stem + suffix));
    if (!path.isEmpty())
        session_.exportFolder = QFileInfo(path).absolutePath();
    return path;
}

void PreviewWindow::print() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("cmdPrint_Click"), [this] {
        if (job_)
            return;
        // Without a printer the dialog would only offer to print to a file, quietly.
        if (QPrinterInfo::availablePrinterNames().isEmpty()) {
            if (session_.dialogs->yesNo(title_, QStringLiteral("No printer is set up on this "
                                                               "computer. Save the report as a "
                                                               "PDF file instead?")))
                saveAsPdf();
            return;
        }
        // The default printer, chosen already; the worker paints on it.
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setDocName(title_);
        printer->setFullPage(true);
        printer->setPageSize(QPageSize(QSizeF(pages_.width, pages_.height), QPageSize::Millimeter));
        printer->setFromTo(1, pages_.count());
        QPrintDialog dialog(printer.get(), this);
        dialog.setMinMax(1, pages_.count());
        if (dialog.exec() != QDialog::Accepted)
            return;
        const int from = printer->fromPage() > 0 ? printer->fromPage() - 1 : 0;
        const int to = printer->toPage() > 0 ? printer->toPage() - 1 : pages_.count() - 1;
        runPageJob(
            QStringLiteral("cmdPrint_Click"), QStringLiteral("Printing page %1 of %2"),
            to - from + 1,
            [printer, from, to](const Pages& pages, const PageProgress& progress) {
                QPainter painter;
                if (!painter.begin(printer.get()))
                    throw ReportError(QStringLiteral("The printer %1 cannot be used.")
                                          .arg(printer->printerName()));
                if (!paintPages(painter, *printer, pages, from, to, progress))
                    printer->abort();
                painter.end();
            },
            QStringLiteral("Sent to the printer %1.").arg(printer->printerName()));
    });
}

void PreviewWindow::saveAsPdf() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("cmdPdf_Click"), [this] {
        if (job_)
            return;
        const QString path =
            chooseFile(QStringLiteral("Save as PDF"), QStringLiteral("PDF files (*.pdf)"),
                       QStringLiteral(".pdf"));
        if (path.isEmpty())
            return;
        runPageJob(
            QStringLiteral("cmdPdf_Click"), QStringLiteral("Saving page %1 of %2"), pages_.count(),
            [path, title = title_](const Pages& pages, const PageProgress& progress) {
                writePdf(pages, path, title, progress);
            },
            savedText(path));
    });
}

void PreviewWindow::saveAsCsv() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("cmdCsv_Click"), [this] {
        const QString path =
            chooseFile(QStringLiteral("Save as CSV"), QStringLiteral("CSV files (*.csv)"),
                       QStringLiteral(".csv"));
        if (path.isEmpty())
            return;
        writeCsv(report_, path);
        status_->setText(savedText(path));
    });
}

void PreviewWindow::saveAsXlsx() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("cmdXlsx_Click"), [this] {
        const QString path =
            chooseFile(QStringLiteral("Save as spreadsheet"),
                       QStringLiteral("Spreadsheets (*.xlsx)"), QStringLiteral(".xlsx"));
        if (path.isEmpty())
            return;
        writeReportFile(report_, path);
        status_->setText(savedText(path));
    });
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        showPage(page_ + 1);
        return;
    case Qt::Key_PageUp:
        showPage(page_ - 1);
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

PreviewWindow* showPreview(core::Session& session, Report report, const QString& title,
                           const QString& fileStem) {
    auto* preview = new PreviewWindow(session, std::move(report), title);
    preview->setFileStem(fileStem);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    if (!session.navigator || !session.navigator->showWindow(preview)) {
        preview->show();
        preview->setFocus();
    }
    return preview;
}

} // namespace stokara::reports
