#pragma once

#include "print/report_form.h"

#include <QList>
#include <QMultiHash>
#include <QPointF>
#include <QRegularExpression>
#include <QProcess>
#include <QString>
#include <QStringList>

// Records every form that would go to the preview or the printer, with its pages as laid out at
// that moment.
class RecordingFormOutput final : public FormOutput {
public:
    struct Entry {
        QString form;
        bool preview = false;
        FormLayout layout;
    };
    QList<Entry> entries;

    void preview(ReportForm &form) override { entries.append({form.name, true, LayOutForm(form)}); }
    void print(ReportForm &form) override { entries.append({form.name, false, LayOutForm(form)}); }

    // "TKasaR1 podgląd" / "TKasaR11 wydruk" for each entry.
    QStringList summary() const
    {
        QStringList lines;
        for (const Entry &e : entries)
            lines.append(e.form + (e.preview ? " podgląd" : " wydruk"));
        return lines;
    }
};

// The text a placed element of that name shows on a page, or "<none>" when it is not placed.
inline QString PlacedText(const LaidOutPage &page, const QString &name)
{
    for (const PlacedItem &item : page.items)
        if (item.name == name)
            return item.text;
    return QStringLiteral("<none>");
}

inline const PlacedItem *PlacedItemNamed(const FormLayout &layout, const QString &name)
{
    for (const LaidOutPage &page : layout.pages)
        for (const PlacedItem &item : page.items)
            if (item.name == name)
                return &item;
    return nullptr;
}

// pdftotext's reading of a PDF file, in its layout.
inline QString PdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The top-left corner of every word pdftotext finds on the PDF's first page, in millimetres from
// the paper's top-left corner, by the word's text.
inline QMultiHash<QString, QPointF> PdfWordPlaces(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), path,
                                                QStringLiteral("-")});
    process.waitForFinished(60000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)"[^>]*>([^<]*)</word>)re"));
    constexpr double kMmPerPoint = 25.4 / 72.0;
    QMultiHash<QString, QPointF> places;
    for (const QRegularExpressionMatch &match : word.globalMatch(html))
        places.insert(match.captured(3),
                      QPointF(match.captured(1).toDouble() * kMmPerPoint, match.captured(2).toDouble() * kMmPerPoint));
    return places;
}
