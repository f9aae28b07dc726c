#pragma once

#include "print/text_print_module.h"
#include "support/print_doubles.h"
#include "support/qt_printers.h"
#include "support/scripted_prompt.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// How a test job reaches its target: written straight through, or kept in the buffer and
// printed when the job ends.
enum class JobRoute { Direct, ThroughBuffer };

inline void PrintTo(JobRoute route, std::ostream *out)
{
    *out << (route == JobRoute::Direct ? "direct" : "through the buffer");
}

// A print module on scripted ports, with its settings in a temporary folder.
class PrintFixture : public ::testing::Test {
protected:

    QTemporaryDir dir;
    ScriptedPrompt prompt;
    RecordingProgress progress;
    ScriptedSaveFileDialog saveDialog;
    RecordingSystemPrinter printer;

    QString settingsFile() const { return dir.filePath(QStringLiteral("druk.ini")); }
    QString pathOf(const QString &name) const { return dir.filePath(name); }

    // The module, created on first use (so a test can prepare the printers and the store).
    TDRUK &druk()
    {
        if (!druk_)
            druk_ = std::make_unique<TDRUK>(PrintModulePorts{
                prompt, progress, saveDialog, printer, PrintSettingsStore(settingsFile())});
        return *druk_;
    }
    void recreate() { druk_.reset(); }

    // Runs a job of these lines by the given route.
    void runJob(const QStringList &lines, JobRoute route, bool footer = false,
                const QString &title = QStringLiteral("Lista"))
    {
        TDRUK &module = druk();
        module.Bufor = route == JobRoute::Direct;
        module.START(title, int(lines.size()));
        for (const QString &line : lines) {
            module.PISZ(line);
            module.Postep();
        }
        module.Auto = route == JobRoute::ThroughBuffer;
        module.STOP(footer);
    }

    static QByteArray contentsOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    std::unique_ptr<TDRUK> druk_;
};
