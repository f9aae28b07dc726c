#include "main_window_fixture.h"

#include "store/table.h"

void MainWindowTest::SetUp()
{
    ASSERT_TRUE(tree.isValid());
    tree.withStandardTree(QString::fromLatin1(kYear));
    state.TodayText = QStringLiteral("2019.03.15");
    state.CurrentYear = QString::fromLatin1(kYear);
    state.CurrentMonth = QStringLiteral("03");
    session.setWorkingFolder(tree.workingFolder());
}

void MainWindowTest::TearDown()
{
    window.reset();
    auxiliary.reset();
    ledger.reset();
    data.reset();
}

QString MainWindowTest::yearTable(const char *relative) const
{
    return tree.yearTable(QString::fromLatin1(kYear), QString::fromLatin1(relative));
}

void MainWindowTest::addRows(const char *relative, const QList<RowValues> &rows)
{
    tree.addRows(yearTable(relative), rows);
}

void MainWindowTest::addDesk(const QString &symbol, const QString &name)
{
    addRows("KASA\\KASA.DB", {{{"SYMBOL", symbol}, {"NAZWA", name}}});
}

void MainWindowTest::addReport(const QString &desk, int number, Money opening, bool closed, Money closing)
{
    RowValues row{{"SYMBOL", desk},        {"NUMER", number},      {"OZNACZENIE", QStringLiteral("RK")},
                  {"DATAOD", "2019.03.01"}, {"BOWARTOSC", QVariant::fromValue(opening)}, {"ZAMKNIETY", closed}};
    if (closed)
        row.append({"BZWARTOSC", QVariant::fromValue(closing)});
    addRows("KASA\\RKASA.DB", {row});
}

void MainWindowTest::addDocument(const QString &desk, int report, const QString &kind, int number, Money amount,
                                 const QString &sign, const QString &date, const QList<Money> &lines)
{
    const RowValues key{{"SYMBOL", desk}, {"NUMER", report}, {"RD", kind}, {"ROK", QString::fromLatin1(kYear)},
                        {"NRD", number}};
    QList<RowValues> rows;
    RowValues header = key;
    header += RowValues{{"GLOWKA", true}, {"POZ", ++placesGiven_}, {"DATA", date}, {"KWOTA", QVariant::fromValue(amount)},
                        {"OKOD", sign}, {"ONAZ1", kind + QStringLiteral(" odbiorca")}};
    rows.append(header);
    for (const Money line : lines)
        rows.append(key + RowValues{{"GLOWKA", false}, {"KWOTAP", QVariant::fromValue(line)}});
    addRows("KASA\\NAGKASA.DB", rows);
}

void MainWindowTest::setParameter(const char *field, const QVariant &value)
{
    const std::unique_ptr<Table> parameters = tree.open(tree.parameterTable());
    parameters->first();
    parameters->edit();
    parameters->setValue(QString::fromLatin1(field), value);
    parameters->post();
}

void MainWindowTest::start(const QStringList &arguments, int accessLevel)
{
    data = std::make_unique<TDANE>(
        DataModuleContext{session, prompt, state, tree.environment(arguments + QStringList{tree.dataRootArgument()})});
    data->runOpenSequence();
    ASSERT_FALSE(state.StartupStop) << prompt.texts().join(u'\n').toStdString();
    state.AccessLevel = quint8(accessLevel);
    TDANE &d = *data;
    ledger = std::make_unique<CashLedger>(
        LedgerTables{d.TPARA, d.TKASA, d.TRKASA, d.TNAG, d.TPOZ, d.KNAG, d.TSLO, d.TKONTA, d.TWALUTA}, prompt, state, clock);
    window = std::make_unique<TKASAF>(state, MainWindowServices{d, *ledger, prompt, clock, nullptr, commands});
    auxiliary = std::make_unique<LedgerAuxiliaryWindows>(*ledger, clock, window.get());
    window->setAuxiliaryWindows(auxiliary.get());
    prompt.clear();
    window->show();
    Process();
}

QStringList MainWindowTest::storedDocuments(const QStringList &fields)
{
    const std::unique_ptr<Table> raw = tree.open(yearTable("KASA\\NAGKASA.DB"));
    raw->setIndexFieldNames(QStringLiteral("AUTO"));
    QStringList rows;
    for (raw->first(); !raw->eof(); raw->next()) {
        QStringList values;
        for (const QString &field : fields)
            values.append(field + QLatin1Char('=') + raw->asString(field));
        rows.append(values.join(QLatin1Char(' ')));
    }
    return rows;
}
