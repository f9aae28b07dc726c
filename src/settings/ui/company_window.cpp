#include "settings/ui/company_window.h"
#include "widgets/window_frame.h"

#include "settings/company_address.h"
#include "settings/company_input.h"
#include "base/prompt.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_edit_helpers.h"
#include "users/users_table.h"
#include "widgets/table_field_edit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kLogoFile = QStringLiteral("logo.bmp");

const QStringList &Voivodeships()
{
    static const QStringList list{
        QStringLiteral("DOLNOŚLĄSKIE"),  QStringLiteral("KUJAWSKO - POMORSKIE"),  QStringLiteral("LUBELSKIE"),
        QStringLiteral("LUBUSKIE"),      QStringLiteral("ŁÓDZKIE"),               QStringLiteral("MAŁOPOLSKIE"),
        QStringLiteral("MAZOWIECKIE"),   QStringLiteral("OPOLSKIE"),              QStringLiteral("PODKARPACKIE"),
        QStringLiteral("PODLASKIE"),     QStringLiteral("POMORSKIE"),             QStringLiteral("ŚLĄSKIE"),
        QStringLiteral("ŚWIĘTOKRZYSKIE"), QStringLiteral("WARMIŃSKO - MAZURSKIE"), QStringLiteral("WIELKOPOLSKIE"),
        QStringLiteral("ZACHODNIPOMORSKIE")};
    return list;
}

// The ten address labels, in the order of the seat-address fields.
const QStringList &AddressLabels()
{
    static const QStringList labels{
        QStringLiteral("ulica"),       QStringLiteral("numer domu"), QStringLiteral("numer lokalu"),
        QStringLiteral("kod pocztowy"), QStringLiteral("poczta"),     QStringLiteral("kraj"),
        QStringLiteral("województwo"), QStringLiteral("powiat"),     QStringLiteral("gmina"),
        QStringLiteral("miejscowość")};
    return labels;
}

// A fixed list whose entries begin with the one-character code the field keeps ("F - Osoba
// Fizyczna" keeps "F"). A code that is on no entry is shown as it is.
class CodeChoiceCombo final : public QComboBox, public FieldBinding {
public:
    CodeChoiceCombo(Table &table, const QString &field, const QStringList &entries, QWidget *parent)
        : QComboBox(parent), FieldBinding(table, field)
    {
        addItems(entries);
        connect(this, &QComboBox::activated, this, [this] {
            markTyped();
            commit();
        });
        reload();
    }

protected:
    QString shownText() const override { return currentText().left(1).trimmed(); }
    void showText(const QString &text) override
    {
        const QSignalBlocker quiet(this);
        const QString code = text.left(1);
        int found = code.isEmpty() ? findText(QString()) : -1;
        for (int i = 0; found < 0 && !code.isEmpty() && i < count(); ++i)
            if (itemText(i).startsWith(code))
                found = i;
        if (found < 0 && !code.isEmpty()) {
            addItem(code);
            found = count() - 1;
        }
        setCurrentIndex(found);
    }
};

QLabel *Note(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

TFIRMAF::TFIRMAF(Table &company, Table &parameters, Prompt &prompt, const QString &dataRoot, QWidget *parent)
    : QDialog(parent), PageControl(new QTabWidget(this)), company_(company), parameters_(parameters), prompt_(prompt),
      dataRoot_(dataRoot)
{
    setObjectName(QStringLiteral("TFIRMAF"));
    setWindowTitle(QStringLiteral("Dane o Firmie"));
    PageControl->addTab(identificationPage(), QStringLiteral("Dane identyfikacyjne i ewidencyjne"));
    PageControl->addTab(addressPage(QString()), QStringLiteral("Adres siedziby"));
    PageControl->addTab(addressPage(QStringLiteral("Z")), QStringLiteral("Adres zamieszkana"));
    PageControl->addTab(bankPage(), QStringLiteral("Rachunki bankowe"));
    PageControl->addTab(otherPage(), QStringLiteral("Inne parametry"));
    PageControl->addTab(logoPage(), QStringLiteral("Logo Firmy"));
    connect(PageControl, &QTabWidget::currentChanged, this, [this] {
        if (PageControl->currentWidget() == LogoCheck->parentWidget())
            showLogo();
    });

    QHBoxLayout *buttons = CloseButtonRow(*this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);

    // Wide enough for the six page titles.
    resize(900, 520);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *) { focusLeft(old); });
}

TFIRMAF::~TFIRMAF() = default;

QWidget *TFIRMAF::control(const QString &field) const
{
    return controlOfField_.value(field.toUpper());
}

void TFIRMAF::bind(FieldBinding *binding, QWidget *control, const QString &field)
{
    binding->setPrompt(&prompt_);
    bindings_.append(binding);
    controls_.insert(control, binding);
    controlOfField_.insert(field.toUpper(), control);
}

QWidget *TFIRMAF::textField(const QString &field, const QString &hint, const std::function<QString(const QString &)> &check)
{
    auto *edit = new TableFieldEdit(company_, field, this);
    edit->setObjectName(field);
    if (!hint.isEmpty())
        edit->setToolTip(hint);
    const int size = TextFieldSize(company_, field);
    edit->setInputCheck([size, check](const QString &typed) {
        if (QString problem = TextLengthProblem(typed, size); !problem.isEmpty())
            return problem;
        return check ? check(typed) : QString();
    });
    bind(edit, edit, field);
    return edit;
}

QWidget *TFIRMAF::voivodeshipField(const QString &field)
{
    auto *combo = new TableFieldCombo(company_, field, this);
    combo->setObjectName(field);
    combo->setEntries(Voivodeships());
    const int size = TextFieldSize(company_, field);
    combo->setInputCheck([size](const QString &typed) { return TextLengthProblem(typed, size); });
    bind(combo, combo, field);
    return combo;
}

QWidget *TFIRMAF::codeChoiceField(const QString &field, const QStringList &entries)
{
    auto *combo = new CodeChoiceCombo(company_, field, entries, this);
    combo->setObjectName(field);
    bind(combo, combo, field);
    return combo;
}

void TFIRMAF::addRow(QGridLayout *grid, const QString &label, QWidget *control, int column, int span)
{
    const int row = column == 0 ? grid->rowCount() : grid->rowCount() - 1;
    grid->addWidget(new QLabel(label, grid->parentWidget()), row, column);
    grid->addWidget(control, row, column + 1, 1, span);
}

// --- Pages -------------------------------------------------------------------------------------

QWidget *TFIRMAF::identificationPage()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    addRow(grid, QStringLiteral("NIP"), textField(QStringLiteral("NIP")));
    addRow(grid, QStringLiteral("REGON"), textField(QStringLiteral("REGON")), 2);
    addRow(grid, QStringLiteral("nazwa skrocona"),
           textField(QStringLiteral("SKROT"), QStringLiteral("Nazwa skrócona używana w programie Płatnik")));
    addRow(grid, QStringLiteral("BDO"),
           textField(QStringLiteral("RHB"), QStringLiteral("Symbol i numer wpisu do rejestru oraz nazwa rejestru")), 2);
    addRow(grid, QStringLiteral("nazwa firmy"), textField(QStringLiteral("NAZWA1")), 0, 3);
    grid->addWidget(textField(QStringLiteral("NAZWA2")), grid->rowCount(), 1, 1, 3);
    addRow(grid, QStringLiteral("Rodzaj płatnika "),
           codeChoiceField(QStringLiteral("RP"), {QStringLiteral("P - Osoba Prawna"), QStringLiteral("F - Osoba Fizyczna")}));

    auto *person = new QGroupBox(QStringLiteral("Osoba fizyczna :"), page);
    auto *personGrid = new QGridLayout(person);
    addRow(personGrid, QStringLiteral("nazwisko"), textField(QStringLiteral("NAZWISKO")));
    addRow(personGrid, QStringLiteral("imię"), textField(QStringLiteral("IMIE")), 2);
    addRow(personGrid, QStringLiteral("PESEL"), textField(QStringLiteral("PESEL")));
    addRow(personGrid, QStringLiteral("data urodzenia (dzień-miesiąc-rok)"),
           textField(QStringLiteral("DATAUR"), QStringLiteral("DD-MM-RRRR"), BirthDateProblem), 2);
    // The kind of identity document, as the social insurance forms number them.
    addRow(personGrid, QStringLiteral("rodzaj dok."),
           codeChoiceField(QStringLiteral("RD"),
                           {QString(), QStringLiteral("1 - dowód osobisty"), QStringLiteral("2 - paszport")}));
    addRow(personGrid, QStringLiteral("seria i numer dkumentu"), textField(QStringLiteral("NRD")), 2);
    grid->addWidget(person, grid->rowCount(), 0, 1, 4);
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

QWidget *TFIRMAF::addressPage(const QString &prefix)
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    const QStringList &fields = SeatAddressFields();
    for (int i = 0; i < fields.size(); ++i) {
        const QString field = prefix + fields[i];
        QWidget *edit = fields[i] == QStringLiteral("WOJEWODZTWO") ? voivodeshipField(field) : textField(field);
        addRow(grid, AddressLabels()[i], edit);
    }
    if (prefix.isEmpty()) {
        addRow(grid, QStringLiteral("e-mail"), textField(QStringLiteral("EMAIL")));
        addRow(grid, QStringLiteral("WWW"), textField(QStringLiteral("WWW")));
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

QWidget *TFIRMAF::bankPage()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    const QStringList names{QStringLiteral("BANK"), QStringLiteral("BANK2"), QStringLiteral("BANK3")};
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        addRow(grid, QStringLiteral("nazwa banku %1 :").arg(n), textField(names[i]));
        addRow(grid, QStringLiteral("adres banku %1 :").arg(n), textField(QStringLiteral("ADRES") + n));
        addRow(grid, QStringLiteral("rachunek %1 :").arg(n), textField(QStringLiteral("NUM") + n));
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

QWidget *TFIRMAF::otherPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *office = new QGridLayout;
    office->addWidget(new QLabel(QStringLiteral("Urząd skarbowy, do którego składana jest deklaracja"), page), 0, 0, 1, 2);
    office->addWidget(textField(QStringLiteral("URZAD")), 1, 0, 1, 2);
    addRow(office, QStringLiteral("Numer urzędu:"), textField(QStringLiteral("ZAPAS1")));
    layout->addLayout(office);

    auto *path = new QGroupBox(QStringLiteral(" Ścieżka dostępu do plików : "), page);
    auto *pathLayout = new QVBoxLayout(path);
    pathLayout->addWidget(textField(
        QStringLiteral("DR"),
        QStringLiteral("Ścieżka dostępu do katalogu danych, zakończona znakiem %1").arg(QDir::separator())));
    pathLayout->addWidget(
        Note(QStringLiteral("Jeżeli ścieżka dostępu jest pusta to dane znajdują się w tym samym katalogu co program."), path));
    layout->addWidget(path);

    auto *year = new QGroupBox(QStringLiteral(" Rok obrachunkowy "), page);
    auto *yearGrid = new QGridLayout(year);
    yearGrid->addWidget(new QLabel(QStringLiteral("Data początku okresu obrachunkowego :"), year), 0, 0);
    auto *start = textField(QStringLiteral("OBRDATA"), QString(), FiscalYearStartProblem);
    start->setMaximumWidth(80);
    yearGrid->addWidget(start, 0, 1);
    yearGrid->addWidget(new QLabel(QStringLiteral("[ mm.dd ]"), year), 0, 2);
    yearGrid->setColumnStretch(3, 1);
    yearGrid->addWidget(
        Note(QStringLiteral("Jeżeli data początku okresu nie jest wpisana to okres obrachunkowy zaczyna się 01.01."), year),
        1, 0, 1, 4);
    layout->addWidget(year);

    auto *archive = new QGroupBox(QStringLiteral("Archiwowanie "), page);
    auto *archiveGrid = new QGridLayout(archive);
    archiveGrid->addWidget(new QLabel(QStringLiteral("Data ostatniej aktualizacji archiwum :"), archive), 0, 0);
    auto *archiveDate = static_cast<QLineEdit *>(textField(QStringLiteral("ARCHDATA")));
    archiveDate->setReadOnly(true);
    archiveDate->setMaximumWidth(100);
    archiveGrid->addWidget(archiveDate, 0, 1);
    archiveGrid->addWidget(new QLabel(QStringLiteral("Okres aktualizacji archiwum :"), archive), 1, 0);
    auto *interval = textField(QStringLiteral("ARCHDNI"), QString(), ArchiveIntervalProblem);
    interval->setMaximumWidth(60);
    archiveGrid->addWidget(interval, 1, 1);
    archiveGrid->addWidget(new QLabel(QStringLiteral("dni."), archive), 1, 2);
    archiveGrid->setColumnStretch(3, 1);
    layout->addWidget(archive);
    layout->addStretch();
    return page;
}

QWidget *TFIRMAF::logoPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    LogoCheck = new QCheckBox(QStringLiteral("Wydruk logo na dokumentach"), page);
    LogoCheck->setObjectName(QStringLiteral("LOGO"));
    connect(LogoCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!company_.isOpen() || company_.asBoolean(QStringLiteral("LOGO")) == on)
            return;
        EnsureEditing(company_);
        company_.setBoolean(QStringLiteral("LOGO"), on);
    });
    layout->addWidget(LogoCheck);
    layout->addWidget(new QLabel(QStringLiteral("Logo firmy do wydruku na fakturze:"), page));
    LogoPicture = new QLabel(page);
    LogoPicture->setFrameStyle(QFrame::Box | QFrame::Plain);
    LogoPicture->setMinimumSize(300, 150);
    LogoPicture->setAlignment(Qt::AlignCenter);
    layout->addWidget(LogoPicture, 0, Qt::AlignLeft);
    LogoSize = new QLabel(page);
    layout->addWidget(LogoSize);
    layout->addWidget(Note(QStringLiteral("Logo jest plikiem BMP o nazwie \"logo.bmp\", umieszczonym w katalogu danych. "
                                          "Aby wydrukowane logo miało 5 cm na 2,5 cm, rysunek powinien mieć 600 na 300 "
                                          "pikseli dla drukarki 300x300 i 1200 na 600 pikseli dla drukarki 600x600."),
                           page));
    layout->addStretch();
    return page;
}

// --- Showing and closing -----------------------------------------------------------------------

void TFIRMAF::showModal()
{
    if (!company_.isOpen())
        return;
    for (FieldBinding *binding : std::as_const(bindings_))
        binding->reload();
    {
        const QSignalBlocker quiet(LogoCheck);
        LogoCheck->setChecked(!company_.isEmpty() && company_.asBoolean(QStringLiteral("LOGO")));
    }
    for (int i = 0; i < PageControl->count(); ++i)
        PageControl->setTabVisible(i, true);
    PageControl->setCurrentIndex(0);
    exec();
}

void TFIRMAF::showLogo()
{
    // The logo is read from the data folder each time the page shows, so a file just put there
    // is seen; a file that cannot be read leaves the picture empty.
    logo_ = QPixmap();
    const QString path = QDir(dataRoot_).absoluteFilePath(kLogoFile);
    if (QFileInfo::exists(path))
        logo_.load(path);
    LogoPicture->setPixmap(logo_.isNull() ? QPixmap()
                                          : logo_.scaled(LogoPicture->minimumSize(), Qt::KeepAspectRatio,
                                                         Qt::SmoothTransformation));
    LogoSize->setText(QStringLiteral("Wymiar rysuknku :  %1 / %2").arg(logo_.width()).arg(logo_.height()));
}

void TFIRMAF::focusLeft(QWidget *old)
{
    if (!isVisible())
        return;
    for (QWidget *w = old; w && w != this; w = w->parentWidget()) {
        FieldBinding *binding = controls_.value(w);
        if (!binding)
            continue;
        // The field takes its typed text as it loses the focus, which may come after this; the
        // rule then runs once it has. A text the field refused stays typed and fills nothing.
        if (binding->hasPendingText())
            QTimer::singleShot(0, this, [this, binding] {
                if (isVisible() && !binding->hasPendingText())
                    fillAddressFrom(binding->field());
            });
        else
            fillAddressFrom(binding->field());
        return;
    }
}

void TFIRMAF::fillAddressFrom(const QString &field)
{
    try {
        FillEmptyAddressFields(company_, field);
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        prompt_.error(error.message());
    }
}

void TFIRMAF::done(int result)
{
    for (FieldBinding *binding : std::as_const(bindings_)) {
        if (!binding->commit()) {
            // The refused text is shown where it was typed.
            QWidget *control = controls_.key(binding);
            for (int i = 0; control && i < PageControl->count(); ++i)
                if (PageControl->widget(i)->isAncestorOf(control))
                    PageControl->setCurrentIndex(i);
            if (control)
                control->setFocus();
            return;
        }
    }
    focusLeft(focusWidget());
    if (company_.isOpen() && company_.state() == TableState::Insert && company_.isNull(QStringLiteral("NR")))
        company_.setInteger(QStringLiteral("NR"), 1);
    PostAndFlush(company_, prompt_);
    PostAndFlush(parameters_, prompt_);
    QDialog::done(result);
}
