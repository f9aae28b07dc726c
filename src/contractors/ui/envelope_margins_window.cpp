#include "contractors/ui/envelope_margins_window.h"

#include "base/format_settings.h"
#include "base/prompt.h"
#include "contractors/envelope_margins.h"
#include "widgets/window_frame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDecimals = 4;

QLineEdit *MarginField(QDialog &window, const char *objectName)
{
    auto *field = new QLineEdit(&window);
    field->setObjectName(QString::fromLatin1(objectName));
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000,0000")) + 16);
    return field;
}

} // namespace

EnvelopeMarginsWindow::EnvelopeMarginsWindow(const QString &marginsFile, Prompt &prompt, QWidget *parent)
    : QDialog(parent)
    , marginsFile_(marginsFile)
    , prompt_(prompt)
{
    setObjectName(QStringLiteral("EnvelopeMarginsWindow"));
    setWindowTitle(QStringLiteral("Ustawienie marginesów"));
    setModal(true);
    TopMargin = MarginField(*this, "TopMargin");
    LeftMargin = MarginField(*this, "LeftMargin");
    Note = new QLabel(this);
    Note->setObjectName(QStringLiteral("Note"));
    Note->setWordWrap(true);
    Note->hide();

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Margines górny"), this), 0, 0);
    fields->addWidget(TopMargin, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("mm"), this), 0, 2);
    fields->addWidget(new QLabel(QStringLiteral("Margines lewy"), this), 1, 0);
    fields->addWidget(LeftMargin, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("mm"), this), 1, 2);

    auto *cancel = new QPushButton(QStringLiteral("Zrezygnuj"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto *store = new QPushButton(QStringLiteral("Zapisz"), this);
    store->setObjectName(QStringLiteral("SaveButton"));
    store->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(store, &QPushButton::clicked, this, [this] { save(); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(store);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Note);
    layout->addLayout(buttons);
    // Wide enough for the whole caption.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 140);
}

int EnvelopeMarginsWindow::showModal()
{
    const MarginsReading reading = ReadEnvelopeMargins(marginsFile_);
    TopMargin->setText(FormatDecimal(reading.margins.top, kDecimals));
    LeftMargin->setText(FormatDecimal(reading.margins.left, kDecimals));
    switch (reading.status) {
    case MarginsReading::Status::Read:
        Note->clear();
        break;
    case MarginsReading::Status::Missing:
        Note->setText(QStringLiteral("Marginesy nie były jeszcze zapisane; podano domyślne."));
        break;
    case MarginsReading::Status::Damaged:
        Note->setText(QStringLiteral("Plik Margines.dan jest uszkodzony; podano marginesy domyślne."));
        break;
    }
    Note->setVisible(!Note->text().isEmpty());
    TopMargin->setFocus();
    TopMargin->selectAll();
    CentreOnScreen(*this);
    return exec();
}

void EnvelopeMarginsWindow::save()
{
    const std::optional<double> top = ParseDecimal(TopMargin->text().trimmed());
    if (!top) {
        prompt_.warning(QStringLiteral("Margines górny nie jest liczbą."));
        TopMargin->setFocus();
        return;
    }
    const std::optional<double> left = ParseDecimal(LeftMargin->text().trimmed());
    if (!left) {
        prompt_.warning(QStringLiteral("Margines lewy nie jest liczbą."));
        LeftMargin->setFocus();
        return;
    }
    if (const QString problem = WriteEnvelopeMargins(marginsFile_, {*top, *left}); !problem.isEmpty()) {
        prompt_.warning(problem);
        return;
    }
    accept();
}
