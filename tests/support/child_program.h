#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <csignal>
#include <optional>

// A second program on the same tables: the test program started again to run one test (which
// only does its work when the environment says so), talking to the parent through its lines.
class ChildProgram {
public:
    // settings: "NAME=value" pairs added to the environment.
    ChildProgram(const QString &testFilter, const QStringList &settings)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &setting : settings)
            environment.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
        process_.setProcessEnvironment(environment);
        process_.setProgram(QCoreApplication::applicationFilePath());
        process_.setArguments({QStringLiteral("--gtest_filter=") + testFilter});
        process_.start();
        process_.waitForStarted();
    }
    ~ChildProgram()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    ChildProgram(const ChildProgram &) = delete;
    ChildProgram &operator=(const ChildProgram &) = delete;

    // Waits for a line that begins with the prefix; the rest of that line, or nullopt.
    std::optional<QString> waitFor(const QString &prefix, int milliseconds = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            while (process_.canReadLine()) {
                const QString line = QString::fromUtf8(process_.readLine()).trimmed();
                lines_.append(line);
                if (line.startsWith(prefix))
                    return line.mid(prefix.size()).trimmed();
            }
            if (timer.elapsed() > milliseconds || process_.state() == QProcess::NotRunning)
                return std::nullopt;
            process_.waitForReadyRead(50);
        }
    }
    void release() { process_.closeWriteChannel(); }
    void finish() { process_.waitForFinished(30000); }
    void killHard()
    {
        ::kill(pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(30000);
    }
    // Every line the child wrote so far (read to the end once it has finished).
    QStringList lines()
    {
        while (process_.canReadLine() || process_.bytesAvailable() > 0)
            lines_.append(QString::fromUtf8(process_.readLine()).trimmed());
        return lines_;
    }

private:
    QProcess process_;
    QStringList lines_;
};
