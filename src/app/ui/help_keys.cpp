#include "app/ui/help_keys.h"

#include "settings/ui/help_window.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMetaObject>
#include <QWidget>

namespace {

// Each window's chapter of the guide, by the window's class (or a class it derives from).
const QHash<QString, QString> &Sections()
{
    static const QHash<QString, QString> sections{
        {QStringLiteral("TKASAF"), QStringLiteral("Okno główne")},
        {QStringLiteral("TKASAF1"), QStringLiteral("Wpłata KP i wypłata KW")},
        {QStringLiteral("TKASAF11"), QStringLiteral("Zaliczka: wniosek WZ i rozliczenie RZ")},
        {QStringLiteral("TKASAF14"), QStringLiteral("Zaliczka: wniosek WZ i rozliczenie RZ")},
        {QStringLiteral("Kalendarz"), QStringLiteral("Wpłata KP i wypłata KW")},
        {QStringLiteral("QtRenumberDialog"), QStringLiteral("Poprawianie, kopiowanie, usuwanie")},
        {QStringLiteral("QtNumberChangeDialog"), QStringLiteral("Poprawianie, kopiowanie, usuwanie")},
        {QStringLiteral("QtMonthDialog"), QStringLiteral("Zestawienia")},
        {QStringLiteral("QtDateRangeDialog"), QStringLiteral("Zestawienia")},
        {QStringLiteral("QtAmountRangeDialog"), QStringLiteral("Zestawienia")},
        {QStringLiteral("QtCashStateDateDialog"), QStringLiteral("Zestawienia")},
        {QStringLiteral("TableDictionaryWindow"), QStringLiteral("Słowniki")},
        {QStringLiteral("TKONF"), QStringLiteral("Kontrahenci")},
        {QStringLiteral("ContractorDescriptionWindow"), QStringLiteral("Kontrahenci")},
        {QStringLiteral("ContractorNumberDialog"), QStringLiteral("Kontrahenci")},
        {QStringLiteral("EnvelopeMarginsWindow"), QStringLiteral("Kontrahenci")},
        {QStringLiteral("TDRUKF"), QStringLiteral("Parametry wydruku")},
        {QStringLiteral("FormPreviewWindow"), QStringLiteral("Dokumenty i raport kasowy")},
        {QStringLiteral("UsersWindow"), QStringLiteral("Użytkownicy i logowanie")},
        {QStringLiteral("NewUserWindow"), QStringLiteral("Użytkownicy i logowanie")},
        {QStringLiteral("OperatorListWindow"), QStringLiteral("Użytkownicy i logowanie")},
        {QStringLiteral("LoginWindow"), QStringLiteral("Użytkownicy i logowanie")},
        {QStringLiteral("TFIRMAF"), QStringLiteral("Dane o firmie")},
        {QStringLiteral("TKASAF7"), QStringLiteral("Parametry programu")},
        {QStringLiteral("TARCHF"), QStringLiteral("Archiwum i odtwarzanie")},
        {QStringLiteral("ArchiveFolderPicker"), QStringLiteral("Archiwum i odtwarzanie")},
        {QStringLiteral("NewYearWindow"), QStringLiteral("Nowy rok i zmiana roku")},
        {QStringLiteral("YearChangeWindow"), QStringLiteral("Nowy rok i zmiana roku")},
        {QStringLiteral("TFexpimp"), QStringLiteral("Import i eksport")},
        {QStringLiteral("IndexRepairWindow"), QStringLiteral("Naprawa indeksów")},
        {QStringLiteral("ParadoxMigrationWindow"), QStringLiteral("Przeniesienie danych z tabel Paradox")},
        {QStringLiteral("TPROGF"), QStringLiteral("Pomoc i informacja o programie")},
        {QStringLiteral("MoneyPicturesWindow"), QStringLiteral("Zestawienia")},
    };
    return sections;
}

} // namespace

HelpKeys::HelpKeys(QUrl guide, QString pdfFile, QWidget *mainWindow)
    : QObject(mainWindow), guide_(std::move(guide)), pdfFile_(std::move(pdfFile)), mainWindow_(mainWindow)
{
    qApp->installEventFilter(this);
}

HelpKeys::~HelpKeys()
{
    qApp->removeEventFilter(this);
}

QString HelpKeys::sectionFor(const QWidget *window)
{
    for (const QWidget *widget = window; widget; widget = widget->parentWidget()) {
        for (const QMetaObject *kind = widget->metaObject(); kind; kind = kind->superClass()) {
            const auto found = Sections().constFind(QString::fromLatin1(kind->className()));
            if (found != Sections().cend())
                return *found;
        }
    }
    return {};
}

QStringList HelpKeys::chapters()
{
    QStringList result = Sections().values();
    result.removeDuplicates();
    return result;
}

void HelpKeys::showHelpFor(QWidget *window)
{
    if (!window)
        window = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    if (!help_)
        help_ = new HelpWindow(guide_, pdfFile_, mainWindow_);
    // Over the dialog that waits for an answer, or else over the main window.
    QWidget *owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : mainWindow_.data();
    if (owner && help_->parentWidget() != owner && owner != help_) {
        const QRect place = help_->geometry();
        const bool placed = help_->isVisible();
        help_->setParent(owner, Qt::Window);
        if (placed)
            help_->setGeometry(place);
    }
    const QString section = window == help_ ? QString() : sectionFor(window);
    if (section.isEmpty())
        help_->showGuide();
    else
        help_->showSection(section);
}

// F1 that no window has taken as its own shortcut opens the guide at the chapter of the window
// it was pressed in.
bool HelpKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (help_ && (widget == help_ || help_->isAncestorOf(widget)))
        return false;
    // While a dialog waits for an answer, F1 can only be meant for it.
    showHelpFor(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : widget->window());
    return true;
}
