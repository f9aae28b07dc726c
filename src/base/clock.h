#pragma once

#include <QDate>
#include <QDateTime>

// Today and now, so tests can set the date the program believes in.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDate day, QTime time = QTime(12, 0)) : moment_(day, time) {}
    QDate today() const override { return moment_.date(); }
    QDateTime now() const override { return moment_; }
    void set(QDate day, QTime time = QTime(12, 0)) { moment_ = QDateTime(day, time); }

private:
    QDateTime moment_;
};
