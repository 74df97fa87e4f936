#pragma once

#include <QDate>
#include <QDateTime>

// "Today" decides the displayed month, the win-day colour and the age; tests fix it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock : public Clock
{
public:
    QDate today() const override { return QDate::currentDate(); }
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDate date) : m_date(date) {}
    QDate today() const override { return m_date; }
    void setToday(QDate date) { m_date = date; }

private:
    QDate m_date;
};
