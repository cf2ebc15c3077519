#include "EventValue.h"

#include "L.h"

QString attendanceTitle(AttendanceChoice choice)
{
    switch (choice) {
    case AttendanceChoice::Attending:
        return L(QStringLiteral("参加"));
    case AttendanceChoice::Interested:
        return L(QStringLiteral("感兴趣"));
    case AttendanceChoice::Declined:
        return L(QStringLiteral("不参加"));
    }
    return {};
}
