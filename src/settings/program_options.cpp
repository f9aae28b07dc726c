#include "settings/program_options.h"

#include "store/table.h"
#include "store/table_edit_helpers.h"

namespace {

const QString kOptionsField = QStringLiteral("P2");
const QString kNumberTemplateField = QStringLiteral("P1");

} // namespace

const QList<ProgramOption> &ProgramOptions()
{
    static const QList<ProgramOption> options{
        {QStringLiteral("Sposób numeracji dokumentów :"),
         {QStringLiteral("numeracja ciągła w obrębie roku"), QStringLiteral("numeracja w obrębie raportu kasowego"),
          QStringLiteral("numeracja ciągła w obrębie wszystkich kas")}},
        {QStringLiteral("Sposób wydruku dokumentów KP i KW :"),
         {QStringLiteral("wydruk 2 egzemplarzy na 1 stronie"), QStringLiteral("wydruk 1 egzemplarza"),
          QStringLiteral("wydruk na 2 stronach"), QStringLiteral("wydruk 1 egzemplarza TEXT"),
          QStringLiteral("wydruk 3 egzemplarzy na 1 stronie")}},
        {QStringLiteral("Wydruk danych o firmie (pieczątka)"),
         {QStringLiteral("bez wydruku"), QStringLiteral("z wydrukiem")}},
        {QStringLiteral("Wydruk Rozliczenia Zaliczki RZ"), {QStringLiteral("bez kopii"), QStringLiteral("z kopią")}},
        {QStringLiteral(" Wydruk / Podgląd : "), {QStringLiteral("Wydruk"), QStringLiteral("Podgląd")}},
    };
    return options;
}

ProgramOptionChoices UnpackProgramOptions(const QString &p2)
{
    ProgramOptionChoices choices{};
    const QList<ProgramOption> &options = ProgramOptions();
    for (int position = 0; position < kProgramOptionCount && position < p2.size(); ++position) {
        const int digit = p2.at(position).digitValue();
        if (digit >= 0 && digit < options.at(position).entries.size())
            choices[position] = digit;
    }
    return choices;
}

QString PackProgramOptions(const ProgramOptionChoices &choices, const QString &previous)
{
    QString packed;
    for (int choice : choices)
        packed += QChar(u'0' + choice);
    return packed + previous.mid(kProgramOptionCount);
}

QString DefaultNumberTemplate()
{
    return QStringLiteral("[RD] [NRD]");
}

void PrepareProgramParameters(Table &parameters)
{
    if (!parameters.isOpen() || !parameters.asString(kNumberTemplateField).trimmed().isEmpty())
        return;
    EnsureEditing(parameters);
    parameters.setString(kNumberTemplateField, DefaultNumberTemplate());
}

bool SaveProgramParameters(Table &parameters, const ProgramOptionChoices &choices, Prompt &prompt)
{
    if (!parameters.isOpen())
        return true;
    const QString stored = parameters.asString(kOptionsField);
    const QString packed = PackProgramOptions(choices, stored);
    if (packed != stored) {
        EnsureEditing(parameters);
        parameters.setString(kOptionsField, packed);
    }
    return PostAndFlush(parameters, prompt);
}
