#include "app/gui/audit_window.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantrel {

namespace {

const QStringList kColumns = {QStringLiteral("Date"), QStringLiteral("Time"),  QStringLiteral("Band"),
                              QStringLiteral("Mode"), QStringLiteral("Call"),  QStringLiteral("Grid"),
                              QStringLiteral("Sent"), QStringLiteral("Rcvd")};

QTableWidget* MakeTable(const QString& name, QStringList columns, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void Fill(QTableWidget* table, const std::vector<AuditRow>& rows) {
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < table->columnCount() && c < static_cast<int>(rows[r].size()); ++c)
            table->setItem(r, c, new QTableWidgetItem(QString::fromStdString(rows[r][c])));
}

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

AuditWindow::AuditWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("AuditWindow"));
    setWindowTitle(QStringLiteral("Journal audit"));
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("AuditSummary"));
    summary_->setWordWrap(true);
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("AuditProgress"));
    layout->addWidget(summary_);
    layout->addWidget(progress_);
    layout->addWidget(Heading(QStringLiteral("On the air, not in the log"), this));
    notLogged_ = MakeTable(QStringLiteral("AuditNotLogged"), kColumns, this);
    layout->addWidget(notLogged_, 2);
    addToLog_ = new QPushButton(QStringLiteral("Add to Log"), this);
    addToLog_->setObjectName(QStringLiteral("AuditAddToLog"));
    addToLog_->setEnabled(false);
    layout->addWidget(addToLog_, 0, Qt::AlignLeft);
    layout->addWidget(Heading(QStringLiteral("In the log twice"), this));
    twice_ = MakeTable(QStringLiteral("AuditTwice"), kColumns + QStringList{QStringLiteral("Again at")}, this);
    layout->addWidget(twice_, 1);
    layout->addWidget(Heading(QStringLiteral("In the log, not on the air"), this));
    withoutTrace_ = MakeTable(QStringLiteral("AuditWithoutTrace"), kColumns, this);
    layout->addWidget(withoutTrace_, 1);
    resize(720, 640);

    connect(notLogged_, &QTableWidget::itemSelectionChanged, this,
            [this] { addToLog_->setEnabled(!notLogged_->selectedItems().isEmpty()); });
    connect(addToLog_, &QPushButton::clicked, this, [this] {
        const int row = notLogged_->currentRow();
        if (run_ && row >= 0) run_([row](AuditPart& part) { part.AddToLog(static_cast<std::size_t>(row)); });
    });
}

void AuditWindow::OpenAudit() {
    show();
    raise();
    activateWindow();
    if (run_) run_([](AuditPart& part) { part.Open(); });
}

void AuditWindow::ShowAuditLists(const AuditLists& lists) {
    summary_->setText(QString::fromStdString(lists.summary));
    Fill(notLogged_, lists.notLogged);
    Fill(twice_, lists.twice);
    Fill(withoutTrace_, lists.withoutTrace);
    addToLog_->setEnabled(false);
}

void AuditWindow::ShowAuditProgress(const std::string& text) {
    progress_->setText(QString::fromStdString(text));
    progress_->setVisible(!text.empty());
}

void AuditWindow::ConfirmAddToLog(const std::string& line) {
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Add to Log"),
                                QStringLiteral("Append this line to the log?\n\n") + QString::fromStdString(line),
                                QMessageBox::Yes | QMessageBox::No, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("AuditConfirmAdd"));
    connect(box, &QMessageBox::finished, this, [this, line](int result) {
        if (result == QMessageBox::Yes && run_) run_([line](AuditPart& part) { part.AddConfirmed(line); });
    });
    box->open();
}

void AuditWindow::ShowAuditMessage(const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Journal audit"), QString::fromStdString(text),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void AuditWindow::closeEvent(QCloseEvent* event) {
    if (run_) run_([](AuditPart& part) { part.Close(); });
    event->accept();
}

}  // namespace vantrel
