#include "support/print_doubles.h"

#include <gtest/gtest.h>

ScriptedSaveFileDialog &ScriptedSaveFileDialog::answer(std::optional<QString> path)
{
    answers_.push_back(std::move(path));
    return *this;
}

std::optional<QString> ScriptedSaveFileDialog::askSaveFileName(const QString &defaultName,
                                                               const QString &defaultSuffix)
{
    questions_.append({defaultName, defaultSuffix});
    if (answers_.empty()) {
        ADD_FAILURE() << "the save dialog was shown without a scripted answer";
        return std::nullopt;
    }
    auto answer = answers_.front();
    answers_.pop_front();
    return answer;
}

namespace {

class RecordingPrinterSink final : public SystemPrinterSink {
public:
    RecordingPrinterSink(RecordingSystemPrinter &printer, const PrintSettings &settings,
                         PageCounters &counters, const QString &title)
        : SystemPrinterSink(settings, counters, title), printer_(printer)
    {
    }

protected:
    std::optional<int> openDocument(const QString &title) override
    {
        if (!printer_.opens)
            return std::nullopt;
        printer_.documents.append(title);
        printer_.pages = 1;
        return printer_.pageHeight;
    }
    void startNewPage() override { ++printer_.pages; }
    void drawText(int x, int y, int pointSize, const QString &text) override
    {
        printer_.lines.append({printer_.pages, x, y, pointSize, text});
    }
    void closeDocument() override { ++printer_.closed; }
    int pageWidth() const override { return printer_.pageWidth; }
    // A fixed-pitch character is 0.6 of its size wide: 2.5 units per point.
    int textWidth(int pointSize, const QString &text) const override
    {
        return int(text.size() * pointSize * 5 / 2);
    }
    void setTextScale(double scale) override { printer_.scale = scale; }

private:
    RecordingSystemPrinter &printer_;
};

}  // namespace

std::unique_ptr<PrintSink> RecordingSystemPrinter::openSink(const QString &title,
                                                            const PrintSettings &settings,
                                                            PageCounters &counters)
{
    return std::make_unique<RecordingPrinterSink>(*this, settings, counters, title);
}

void RecordingProgress::Start(const QString &t, int max)
{
    title = t;
    maximum = max;
    steps = 0;
    ++starts;
    running = true;
}

void RecordingProgress::Stop()
{
    ++stops;
    running = false;
}
