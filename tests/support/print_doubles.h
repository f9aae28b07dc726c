#pragma once

#include "base/progress.h"
#include "print/save_file_dialog.h"
#include "print/system_printer_port.h"
#include "print/system_printer_sink.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <ostream>

// Test doubles for the print module: a save dialog answering from a script, a system printer
// that records where each line would be drawn, and a progress that records its calls.

class ScriptedSaveFileDialog final : public SaveFileDialog {
public:
    struct Question {
        QString defaultName;
        QString defaultSuffix;
    };

    // Queues the next answer: a path, or nothing for "cancelled".
    ScriptedSaveFileDialog &answer(std::optional<QString> path);

    std::optional<QString> askSaveFileName(const QString &defaultName,
                                           const QString &defaultSuffix) override;

    const QList<Question> &questions() const { return questions_; }

private:
    std::deque<std::optional<QString>> answers_;
    QList<Question> questions_;
};

// A system printer with pages of pageHeight units (1/300 inch) that keeps every drawn line.
class RecordingSystemPrinter final : public SystemPrinterPort {
public:
    struct DrawnLine {
        int page;  // 1 for the first page of the document
        int x;
        int y;
        int pointSize;
        QString text;

        friend bool operator==(const DrawnLine &, const DrawnLine &) = default;
    };

    QStringList printers = {QStringLiteral("Drukarka biurowa")};
    QString current = QStringLiteral("Drukarka biurowa");
    int pageHeight = 3000;
    int pageWidth = 0; // 1/300 inch; 0: not known, nothing is made smaller
    bool opens = true;
    double scale = 0;  // the job's size factor, set when its lines are drawn

    QStringList documents;  // names of the documents begun
    int pages = 0;          // pages of the last document
    int closed = 0;         // documents ended
    QList<DrawnLine> lines;

    QStringList installedPrinters() const override { return printers; }
    QString currentPrinter() const override { return current; }
    void selectPrinter(const QString &name) override { current = name; }
    std::unique_ptr<PrintSink> openSink(const QString &title, const PrintSettings &settings,
                                        PageCounters &counters) override;
};

inline void PrintTo(const RecordingSystemPrinter::DrawnLine &d, std::ostream *out)
{
    *out << "{page " << d.page << ", x " << d.x << ", y " << d.y << ", " << d.pointSize
         << "pt, \"" << d.text.toStdString() << "\"}";
}

class RecordingProgress final : public Progress {
public:
    QString title;
    int maximum = -1;
    int steps = 0;
    int starts = 0;
    int stops = 0;
    bool running = false;

    void Start(const QString &t, int max) override;
    void Postep() override { ++steps; }
    void Stop() override;
};
