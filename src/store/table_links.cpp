#include "store/table.h"

#include "store/field_value.h"

void Table::setMasterSource(Table *master, const QStringList &masterFields, const QStringList &detailFields)
{
    if (!master || master == this)
        throw EngineError(EngineErrorKind::Other, QStringLiteral("Niepoprawna tabela nadrzędna."));
    if (masterFields.isEmpty() || masterFields.size() != detailFields.size())
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Pola powiązania z tabelą nadrzędną nie odpowiadają sobie."));
    if (isOpen())
        for (const QString &field : detailFields)
            if (fieldRef(field).calculated)
                throw EngineError(EngineErrorKind::Other,
                                  QStringLiteral("Pole wyliczane %1 nie może wiązać tabel.").arg(field));
    if (master_)
        master_->details_.removeAll(this);
    master_ = master;
    masterFields_ = masterFields;
    detailFields_ = detailFields;
    master_->details_.append(this);
    appliedMasterValues_.reset();
    if (isOpen()) {
        checkBrowseMode();
        appliedMasterValues_ = masterValues();
        reapplyView(false);
    }
}

void Table::clearMasterSource()
{
    if (!master_)
        return;
    master_->details_.removeAll(this);
    master_ = nullptr;
    masterFields_.clear();
    detailFields_.clear();
    appliedMasterValues_.reset();
    if (isOpen()) {
        checkBrowseMode();
        reapplyView(false);
    }
}

// The master's current values (its edit buffer while it edits), as this table stores them.
// A closed or empty master gives empty values, so the view shows no rows of a real master.
QVariantList Table::masterValues() const
{
    QVariantList values;
    for (int i = 0; i < masterFields_.size(); ++i) {
        const int field = structure_->definition.fieldIndex(detailFields_[i]);
        if (field < 0)
            throw EngineError(EngineErrorKind::Other,
                              QStringLiteral("Tabela %1 nie ma pola %2.").arg(tableName_, detailFields_[i]));
        const QVariant masterValue = master_->isOpen() ? master_->value(masterFields_[i]) : QVariant();
        values.append(StoredValue(storedField(field), masterValue));
    }
    return values;
}

void Table::followMaster()
{
    if (!isOpen() || !master_)
        return;
    const QVariantList values = masterValues();
    if (appliedMasterValues_ && *appliedMasterValues_ == values)
        return;
    checkBrowseMode();
    appliedMasterValues_ = values;
    reapplyView(false);
}

void Table::fillFromMaster()
{
    if (!master_ || !master_->isOpen())
        return;
    const QVariantList values = masterValues();
    for (int i = 0; i < detailFields_.size(); ++i)
        editRow_.values[structure_->definition.fieldIndex(detailFields_[i])] = values[i];
}

void Table::notifyDetails()
{
    if (disabledControls_ > 0)
        return;
    const QList<Table *> details = details_;
    for (Table *detail : details)
        if (details_.contains(detail))
            detail->followMaster();
}

void Table::notify(TableChange change)
{
    if (disabledControls_ > 0) {
        changedWhileDisabled_ = true;
        return;
    }
    const QList<TableListener *> listeners = listeners_;
    for (TableListener *listener : listeners)
        if (listeners_.contains(listener))
            listener->tableChanged(*this, change);
}

void Table::addListener(TableListener *listener)
{
    if (!listeners_.contains(listener))
        listeners_.append(listener);
}

void Table::removeListener(TableListener *listener)
{
    listeners_.removeAll(listener);
}
