#include "ledger/new_document_arguments.h"

#include "store/table.h"

namespace {

const QString kStartWord = QStringLiteral("nowy");
const QString kKindName = QStringLiteral("RD");
constexpr int kKindSize = 4;

// Set by the creating command itself; an argument must not move the document into another
// report or sequence.
const QStringList kFieldsTheCommandSets{
    QStringLiteral("SYMBOL"), QStringLiteral("NUMER"), QStringLiteral("AUTO"), QStringLiteral("RD"),
    QStringLiteral("ROK"),    QStringLiteral("NRD"),   QStringLiteral("POZ"),  QStringLiteral("GLOWKA"),
};

} // namespace

std::optional<NewDocumentRequest> NewDocumentRequestFrom(const QStringList &arguments, int commandArgIndex)
{
    const int start = commandArgIndex - 1;
    if (start < 0 || start >= arguments.size() || arguments[start].compare(kStartWord, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    NewDocumentRequest request;
    for (int i = start + 1; i < arguments.size(); ++i) {
        const QString argument = QString(arguments[i]).replace(u'_', u' ');
        const qsizetype equals = argument.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString name = argument.left(equals);
        const QString value = argument.mid(equals + 1);
        if (name.compare(kKindName, Qt::CaseInsensitive) == 0)
            request.kind = value.left(kKindSize);
        request.fields.append({name, value});
    }
    return request;
}

void PresetNewDocument(Table &header, const NewDocumentRequest &request)
{
    for (const auto &[name, value] : request.fields) {
        if (name.isEmpty() || !header.hasField(name) || kFieldsTheCommandSets.contains(name.toUpper()))
            continue;
        try {
            header.setString(name, value);
        } catch (const EngineError &) {
            // a value the field does not take is skipped
        }
    }
    header.setValue(QStringLiteral("KWOTA"), header.value(QStringLiteral("KWOTAP")));
}
