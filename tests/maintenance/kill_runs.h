#pragma once

#include <QElapsedTimer>
#include <QList>
#include <functional>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

// Runs the work in a child process and kills it after the given pause (microseconds).
inline void RunAndKill(const std::function<void()> &work, int pauseMicroseconds)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        work();
        ::_exit(0);
    }
    ::usleep(useconds_t(pauseMicroseconds));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

// Runs the work in a child process until it ends or a crash point kills it.
inline void RunUntilItEnds(const std::function<void()> &work)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

// Moments spread over the time the work takes here, from its start to a little past its end.
inline QList<int> PausesOver(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    const qint64 took = timer.nsecsElapsed() / 1000;
    QList<int> pauses;
    for (int step = 0; step <= 10; ++step)
        pauses.append(int(took * step / 9));
    return pauses;
}
