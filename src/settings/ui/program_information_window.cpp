#include "settings/ui/program_information_window.h"

#include "base/application_title.h"
#include "settings/program_information.h"

#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A label showing the text as a link; a click opens the address with the desktop's handler.
QLabel *Link(const QString &text, const QUrl &address, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(address.toString(QUrl::FullyEncoded), text.toHtmlEscaped()));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(true);
    return label;
}

// An entry of the seller's or author's data: a link when it has an address, plain text otherwise.
QLabel *Entry(const QString &text, const QString &address, QWidget *parent)
{
    if (text.isEmpty() || address.isEmpty())
        return new QLabel(text, parent);
    return Link(text, QUrl(address), parent);
}

// One row of a contacts group: the caption and its entries side by side.
void AddRow(QGridLayout *grid, const QString &caption, const QList<QLabel *> &entries)
{
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption, grid->parentWidget()), row, 0);
    for (int i = 0; i < entries.size(); ++i)
        grid->addWidget(entries[i], row, i + 1);
}

QGroupBox *SellerGroup(const ProgramContacts &contacts, QPushButton *orderButton, QWidget *parent)
{
    auto *group = new QGroupBox(QStringLiteral(" Sprzedaż programu : "), parent);
    auto *grid = new QGridLayout(group);
    const auto plain = [group](const QStringList &lines) {
        return QList<QLabel *>{new QLabel(lines.value(0), group), new QLabel(lines.value(1), group)};
    };
    const auto links = [group](const QStringList &lines, QString (*address)(const QString &)) {
        return QList<QLabel *>{Entry(lines.value(0), address(lines.value(0)), group),
                               Entry(lines.value(1), address(lines.value(1)), group)};
    };
    AddRow(grid, QString(), plain(contacts.sellerName));
    AddRow(grid, QString(), plain(contacts.sellerAddress));
    AddRow(grid, QStringLiteral("Telefon :"), plain(contacts.sellerPhone));
    AddRow(grid, QStringLiteral("E-mail :"), links(contacts.sellerEmail, MailAddress));
    AddRow(grid, QStringLiteral("WWW :"), links(contacts.sellerWeb, WebAddress));
    grid->addWidget(orderButton, grid->rowCount(), 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return group;
}

QGroupBox *AuthorGroup(const ProgramContacts &contacts, QWidget *parent)
{
    auto *group = new QGroupBox(QStringLiteral(" Autor : "), parent);
    auto *grid = new QGridLayout(group);
    AddRow(grid, QString(), {new QLabel(contacts.authorName, group)});
    AddRow(grid, QString(), {new QLabel(contacts.authorAddress, group)});
    AddRow(grid, QStringLiteral("Telefon :"), {new QLabel(contacts.authorPhone, group)});
    AddRow(grid, QStringLiteral("WWW :"), {Entry(contacts.authorWeb, WebAddress(contacts.authorWeb), group)});
    AddRow(grid, QStringLiteral("E-mail :"), {Entry(contacts.authorEmail, MailAddress(contacts.authorEmail), group)});
    grid->setColumnStretch(1, 1);
    return group;
}

} // namespace

TPROGF::TPROGF(QString helpFile, QString programFolder, const ProgramContacts &contacts, QWidget *parent)
    : QDialog(parent), Heading(new QLabel(this)), Version(new QLabel(this)), Licence(new QLabel(this)),
      OrderButton(new QPushButton(QStringLiteral("ZAMÓWIENIE"), this))
{
    setObjectName(QStringLiteral("TPROGF"));
    setWindowTitle(QStringLiteral("Informacja o programie"));
    QFont large = Heading->font();
    large.setPointSize(large.pointSize() * 2);
    large.setBold(true);
    Heading->setFont(large);
    Version->setText(QStringLiteral("Wersja %1").arg(ProgramVersion()));
    Licence->setText(ProgramLicence());
    Licence->setWordWrap(true);
    auto *description = new QLabel(ProgramDescription(), this);
    description->setWordWrap(true);

    auto *addresses = new QGroupBox(QStringLiteral(" Adresy : "), this);
    auto *grid = new QGridLayout(addresses);
    if (!helpFile.isEmpty()) {
        grid->addWidget(new QLabel(QStringLiteral("Instrukcja obsługi :"), addresses), 0, 0);
        GuideLink = Link(QDir::toNativeSeparators(helpFile), QUrl::fromLocalFile(helpFile), addresses);
        grid->addWidget(GuideLink, 0, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Katalog programu :"), addresses), 1, 0);
    FolderLink = Link(QDir::toNativeSeparators(programFolder), QUrl::fromLocalFile(programFolder), addresses);
    grid->addWidget(FolderLink, 1, 1);
    grid->setColumnStretch(1, 1);

    const QString order = WebAddress(contacts.orderAddress);
    OrderButton->setAutoDefault(false);
    OrderButton->setEnabled(!order.isEmpty());
    connect(OrderButton, &QPushButton::clicked, this, [order] { QDesktopServices::openUrl(QUrl(order)); });

    auto *close = new QPushButton(QStringLiteral("Zamknij"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading);
    layout->addWidget(Version);
    layout->addWidget(description);
    layout->addWidget(Licence);
    layout->addWidget(SellerGroup(contacts, OrderButton, this));
    layout->addWidget(AuthorGroup(contacts, this));
    layout->addWidget(addresses);
    layout->addLayout(buttons);
    setMinimumWidth(460);
}

void TPROGF::showModal()
{
    Heading->setText(QStringLiteral("Program ") + ApplicationTitle());
    exec();
}
