#include "preview_window.h"

#include "core/dialogs.h"
#include "core/errors.h"
#include "core/navigator.h"
#include "core/session.h"
#include "reports/engine/output.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

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
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]+")), QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("report") : name;
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
    QPushButton* print = button(this, bar, QStringLiteral("cmdPrint"), QStringLiteral("&Print"));
    QPushButton* pdf = button(this, bar, QStringLiteral("cmdPdf"), QStringLiteral("Save as PD&F"));
    QPushButton* csv = button(this, bar, QStringLiteral("cmdCsv"), QStringLiteral("Save as &CSV"));
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

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);

    connect(first_, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(previous_, &QPushButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(last_, &QPushButton::clicked, this, [this] { showPage(pages_.count() - 1); });
    connect(zoomList_, &QComboBox::currentIndexChanged, this,
            [this](int index) { setZoom(zoomList_->itemData(index).toInt()); });
    connect(print, &QPushButton::clicked, this, &PreviewWindow::print);
    connect(pdf, &QPushButton::clicked, this, &PreviewWindow::saveAsPdf);
    connect(csv, &QPushButton::clicked, this, &PreviewWindow::saveAsCsv);
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

void PreviewWindow::print() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("cmdPrint_Click"), [this] {
        QPrinter printer(QPrinter::HighResolution); // the default printer, chosen already
        printer.setDocName(title_);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QSizeF(pages_.width, pages_.height), QPageSize::Millimeter));
        printer.setFromTo(1, pages_.count());
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, pages_.count());
        if (dialog.exec() != QDialog::Accepted)
            return;
        int from = printer.fromPage() > 0 ? printer.fromPage() - 1 : 0;
        int to = printer.toPage() > 0 ? printer.toPage() - 1 : pages_.count() - 1;
        QPainter painter;
        if (!painter.begin(&printer))
            throw ReportError(
                QStringLiteral("The printer %1 cannot be used.").arg(printer.printerName()));
        for (int p = from; p <= to; ++p) {
            if (p > from)
                printer.newPage();
            paintPage(painter, pages_, p);
        }
        painter.end();
    });
}

void PreviewWindow::saveAsPdf() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("cmdPdf_Click"), [this] {
        const QString path = session_.dialogs->saveFile(
            QStringLiteral("Save as PDF"), QStringLiteral("PDF files (*.pdf)"),
            safeFileName(title_) + QStringLiteral(".pdf"));
        if (!path.isEmpty())
            writePdf(pages_, path, title_);
    });
}

void PreviewWindow::saveAsCsv() {
    core::guarded(session_, core::ErrorKind::Show, QStringLiteral("cmdCsv_Click"), [this] {
        const QString path = session_.dialogs->saveFile(
            QStringLiteral("Save as CSV"), QStringLiteral("CSV files (*.csv)"),
            safeFileName(title_) + QStringLiteral(".csv"));
        if (!path.isEmpty())
            writeCsv(report_, path);
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

PreviewWindow* showPreview(core::Session& session, Report report, const QString& title) {
    auto* preview = new PreviewWindow(session, std::move(report), title);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    if (!session.navigator || !session.navigator->showWindow(preview)) {
        preview->show();
        preview->setFocus();
    }
    return preview;
}

} // namespace stokara::reports
