#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

class Table;

// The start "nowy NAME=VALUE ...": another program asks for a new KP or KW at once, with some
// of its fields preset (a "_" in an argument stands for a space).
struct NewDocumentRequest {
    QString kind;                            // the value of RD, at most 4 characters
    QList<QPair<QString, QString>> fields;   // every NAME=VALUE after "nowy", in order
};

// The request when the argument at the position (1-based, CommandArgIndex) is "nowy" in any case;
// nullopt otherwise.
std::optional<NewDocumentRequest> NewDocumentRequestFrom(const QStringList &arguments, int commandArgIndex);

// Gives the new header (in insert) the requested values: a name that is no field of the table,
// a value the field does not take, and the fields that place and number the document (desk,
// report, kind, year, number, place, header flag, entry number) are left alone. Then the amount
// is the first line's amount.
void PresetNewDocument(Table &header, const NewDocumentRequest &request);
